#include "Translations.h"

#include "EditorProfile.h"
#include "Log.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace Dovrin::Shell {

namespace {

const QString translatorName = QStringLiteral("dovrin-translations");

void install(std::unique_ptr<QTranslator> translator) {
    translator->setObjectName(translatorName);
    translator->setParent(QCoreApplication::instance());
    QCoreApplication::installTranslator(translator.release());
}

} // namespace

void installTranslations(Agent::AppLanguage language) {
    // A translator removes itself from the application when deleted.
    qDeleteAll(
        QCoreApplication::instance()->findChildren<QTranslator*>(translatorName, Qt::FindDirectChildrenOnly));

    // English has its own file too: it holds the singular forms of the %n texts.
    const QString code = Agent::languageCode(language);
    auto own = std::make_unique<QTranslator>();
    const QString ownFile =
        QStringLiteral(":/i18n/dovrin_") + QString(code).replace(QLatin1Char('-'), QLatin1Char('_'));
    if (own->load(ownFile))
        install(std::move(own));
    else
        qCWarning(dovrinLog, "translations: can't load %s", qUtf8Printable(ownFile));

    // Qt's own texts are English already; its Chinese ones come with the system's Qt translations, when
    // they are installed.
    if (language == Agent::AppLanguage::simplifiedChinese) {
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China),
                     QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            install(std::move(qt));
    }

    Stickies::setEditorLanguage(code);
}

} // namespace Dovrin::Shell
