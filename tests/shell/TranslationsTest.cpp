#include "Translations.h"
#include "AppLanguage.h"
#include "AppSettings.h"
#include "EditorProfile.h"
#include "EditorTestMain.h"

#include <QFile>
#include <QLibraryInfo>
#include <QSettings>
#include <QWebEngineProfile>
#include <QWebEngineScriptCollection>
#include <QXmlStreamReader>
#include <QtTest>

using namespace Dovrin;

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
    void bestLanguageMatch_takesTheFirstSpokenLanguage() {
        using Agent::AppLanguage;
        QCOMPARE(Agent::bestLanguageMatch({"fr-FR", "zh-CN", "en"}), AppLanguage::simplifiedChinese);
        QCOMPARE(Agent::bestLanguageMatch({"zh-Hans-CN"}), AppLanguage::simplifiedChinese);
        QCOMPARE(Agent::bestLanguageMatch({"zh-TW", "en-GB", "zh-Hans"}), AppLanguage::english);
        QCOMPARE(Agent::bestLanguageMatch({"zh-Hant", "de"}), AppLanguage::english);
        QCOMPARE(Agent::bestLanguageMatch({}), AppLanguage::english);
        QCOMPARE(Agent::languageCode(AppLanguage::simplifiedChinese), QString("zh-Hans"));
    }

    void chosenLanguage_decidesTheTexts() {
        Bridge::appSettings().setValue("language", "zh-Hans");
        QCOMPARE(Agent::appLanguage(), Agent::AppLanguage::simplifiedChinese);
        Shell::installTranslations(Agent::appLanguage());
        QCOMPARE(quitText(), QString("退出 Dovrin"));
        QVERIFY(daysLeftText(3).contains("还剩 3 天"));
        QVERIFY(editorLanguageScript().contains("\"zh-Hans\""));
        if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_zh_CN.qm"))
            QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("取消"));

        // A language Dovrin doesn't speak falls back to English, with English plurals.
        Bridge::appSettings().setValue("language", "fr");
        Shell::installTranslations(Agent::appLanguage());
        QCOMPARE(quitText(), QString("Quit Dovrin"));
        QCOMPARE(daysLeftText(1), QString("Deleted %1 · 1 day left"));
        QCOMPARE(daysLeftText(2), QString("Deleted %1 · 2 days left"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));
        QVERIFY(editorLanguageScript().contains("\"en\""));
        Bridge::appSettings().remove("language");
    }

    void translationFiles_haveEveryTextTranslated() {
        for (const QString name : {"dovrin_zh_Hans.ts", "dovrin_en.ts"}) {
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
