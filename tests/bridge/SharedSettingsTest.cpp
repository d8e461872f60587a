#include "shared/bridge/SharedSettings.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Dovrin::Bridge;

class SharedSettingsTest final : public QObject {
    Q_OBJECT

private slots:
    void settings_missingOrBrokenReadAsDefaults_andWritingKeepsUnknownKeys() {
        QTemporaryDir folder;
        const QString path = folder.path() + "/settings.json";
        const SharedSettings missing = SharedSettings::readFile(path);
        QCOMPARE(missing.aiAccess, AIAccess::readWrite);
        QVERIFY(missing.letAIOpenDovrin);
        QVERIFY(missing.connectedAIs.isEmpty());

        const QList<QByteArray> broken{"{not json", "[]",
                                       R"({"aiAccess":"everything","letAIOpenDovrin":"no"})",
                                       R"({"aiAccess":3,"letAIOpenDovrin":0,"connectedAIs":[1]})"};
        for (const QByteArray& content : broken) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(content);
            file.close();
            const SharedSettings settings = SharedSettings::readFile(path);
            QCOMPARE(settings.aiAccess, AIAccess::readWrite);
            QVERIFY(settings.letAIOpenDovrin);
            QVERIFY(settings.connectedAIs.isEmpty());
        }

        // Writing keeps the keys it doesn't know.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(R"({"future":42,"letAIOpenDovrin":true})");
        file.close();
        SharedSettings settings;
        settings.aiAccess = AIAccess::readOnly;
        settings.letAIOpenDovrin = false;
        const QDateTime when = QDateTime::fromMSecsSinceEpoch(1'700'000'000'123, Qt::UTC);
        settings.connectedAIs.insert("Claude", when);
        QVERIFY(settings.writeFile(path));

        const SharedSettings read = SharedSettings::readFile(path);
        QCOMPARE(read.aiAccess, AIAccess::readOnly);
        QVERIFY(!read.letAIOpenDovrin);
        QCOMPARE(read.connectedAIs.value("Claude"), when);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("\"future\": 42"));
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, SharedSettingsTest)
#include "SharedSettingsTest.moc"
