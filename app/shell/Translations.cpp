#include "app/shell/Translations.h"

#include "app/core/AppFiles.h"
#include "app/core/Log.h"
#include "app/stickies/EditorProfile.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

const QString translatorName = u"dovrin-translations"_s;

void install(std::unique_ptr<QTranslator> translator) {
    translator->setObjectName(translatorName);
    translator->setParent(QCoreApplication::instance());
    QCoreApplication::installTranslator(translator.release());
}

} // namespace

void installTranslations(Core::AppLanguage language) {
    // A translator removes itself from the application when deleted.
    qDeleteAll(
        QCoreApplication::instance()->findChildren<QTranslator*>(translatorName, Qt::FindDirectChildrenOnly));

    // English has its own file too: it holds the singular forms of the %n texts.
    const QString code = Core::languageCode(language);
    auto own = std::make_unique<QTranslator>();
    const QString ownFile =
        Core::appFilesFolder(u"translations"_s, QString::fromUtf8(DOVRIN_TRANSLATIONS_BUILD)) +
        u"/dovrin_"_s + QString(code).replace(QLatin1Char('-'), QLatin1Char('_')) + u".qm"_s;
    if (own->load(ownFile)) {
        qCDebug(Core::shellLog, "translations: loaded %s", qUtf8Printable(ownFile));
        install(std::move(own));
    } else {
        qCWarning(Core::shellLog, "translations: can't load %s", qUtf8Printable(ownFile));
    }

    // Qt's own texts are English already; its Chinese ones come with the system's Qt translations, when
    // they are installed.
    if (language == Core::AppLanguage::simplifiedChinese) {
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China), u"qtbase"_s,
                     u"_"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            install(std::move(qt));
    }

    Stickies::setEditorLanguage(code);
}

} // namespace Dovrin::Shell
