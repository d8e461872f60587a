#include "app/shell/Translations.h"
#include "app/core/AppLanguage.h"
#include "app/core/AppSettings.h"
#include "app/stickies/EditorProfile.h"
#include "tests/support/EditorTestMain.h"

#include <QFile>
#include <QLibraryInfo>
#include <QSettings>
#include <QWebEngineProfile>
#include <QWebEngineScriptCollection>
#include <QXmlStreamReader>
#include <QtTest>

using namespace Dovrin;
using namespace Dovrin::Stickies;
using namespace Qt::StringLiterals;

namespace {

QString quitText() {
    return QCoreApplication::translate("Dovrin::Shell::TrayMenu", "Quit Dovrin");
}

QString daysLeftText(int days) {
    return QCoreApplication::translate("Dovrin::Shell::RecentlyDeleted", "Deleted %1 · %n days left",
                                       "Recently Deleted row: when, then the days until it is gone for good",
                                       days);
}

QString editorLanguageScript() {
    QString source;
    for (const QWebEngineScript& script : Stickies::editorProfile()->scripts()->find("dovrin-language"))
        source += script.sourceCode();
    return source;
}

} // namespace

class TranslationsTest final : public QObject {
    Q_OBJECT

private slots:
    void language_isTheFirstSpokenOneUnlessChosen_andDecidesTheTexts() {
        using Core::AppLanguage;
        QCOMPARE(Core::bestLanguageMatch({"fr-FR", "zh-CN", "en"}), Core::AppLanguage::simplifiedChinese);
        QCOMPARE(Core::bestLanguageMatch({"zh-Hans-CN"}), Core::AppLanguage::simplifiedChinese);
        QCOMPARE(Core::bestLanguageMatch({"zh-TW", "en-GB", "zh-Hans"}), Core::AppLanguage::english);
        QCOMPARE(Core::bestLanguageMatch({"zh-Hant", "de"}), Core::AppLanguage::english);
        QCOMPARE(Core::bestLanguageMatch({}), Core::AppLanguage::english);
        QCOMPARE(Core::languageCode(Core::AppLanguage::simplifiedChinese), QString("zh-Hans"));

        // A chosen language decides the texts.
        Core::appSettings().setValue("language", "zh-Hans");
        QCOMPARE(Core::appLanguage(), Core::AppLanguage::simplifiedChinese);
        Shell::installTranslations(Core::appLanguage());
        QCOMPARE(quitText(), QString("退出 Dovrin"));
        QVERIFY(daysLeftText(3).contains("还剩 3 天"));
        QVERIFY(editorLanguageScript().contains("\"zh-Hans\""));
        if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_zh_CN.qm"))
            QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("取消"));

        // A language Dovrin doesn't speak falls back to English, with English plurals.
        Core::appSettings().setValue("language", "fr");
        Shell::installTranslations(Core::appLanguage());
        QCOMPARE(quitText(), QString("Quit Dovrin"));
        QCOMPARE(daysLeftText(1), QString("Deleted %1 · 1 day left"));
        QCOMPARE(daysLeftText(2), QString("Deleted %1 · 2 days left"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));
        QVERIFY(editorLanguageScript().contains("\"en\""));
        Core::appSettings().remove("language");
    }

    void translationFiles_haveEveryTextTranslated() {
        for (const QString& name : {u"dovrin_zh_Hans.ts"_s, u"dovrin_en.ts"_s}) {
            QFile file(qEnvironmentVariable("DOVRIN_SOURCE_DIR") + "/translations/" + name);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
            QXmlStreamReader xml(&file);
            int messages = 0;
            bool numerus = false;
            QString source;
            while (!xml.atEnd()) {
                if (xml.readNext() != QXmlStreamReader::StartElement)
                    continue;
                if (xml.name() == u"message") {
                    ++messages;
                    numerus = xml.attributes().value("numerus") == u"yes";
                } else if (xml.name() == u"source") {
                    source = xml.readElementText();
                } else if (xml.name() == u"translation") {
                    QVERIFY2(!xml.attributes().hasAttribute("type"), qPrintable(source));
                    if (!numerus)
                        QVERIFY2(!xml.readElementText().trimmed().isEmpty(),
                                 qPrintable(name + ": " + source));
                } else if (xml.name() == u"numerusform") {
                    QVERIFY2(!xml.readElementText().trimmed().isEmpty(), qPrintable(name + ": " + source));
                }
            }
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
            QVERIFY(messages > 0);
        }
    }
};

DOVRIN_EDITOR_TEST_MAIN(TranslationsTest)

#include "TranslationsTest.moc"
