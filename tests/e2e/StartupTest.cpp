#include "app/store/NoteStore.h"
#include "tests/e2e/Processes.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace Dovrin;
using namespace Dovrin::E2e;

class StartupTest final : public QObject {
    Q_OBJECT

private slots:
    void unreadableNotes_endTheAppWithTheReason() {
        Home home;
        QProcessEnvironment environment = home.environment();
        const QString blocker = home.dir.filePath("blocker");
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        environment.insert("DOVRIN_HOME", blocker);
        App blocked(environment);
        QVERIFY(!blocked.start());
        QCOMPARE(blocked.exitCode(), 1);
        QVERIFY2(blocked.output().contains(
                     QString::fromUtf8("Dovrin can’t open your notes.\ndata directory unavailable")),
                 qPrintable(blocked.output()));

        QFile database(home.database());
        QVERIFY(database.open(QIODevice::WriteOnly));
        database.write(QByteArray(8192, 'g'));
        database.close();
        App garbage(home);
        QVERIFY(!garbage.start());
        QCOMPARE(garbage.exitCode(), 1);
        QVERIFY(garbage.output().contains(QString::fromUtf8("Dovrin can’t open your notes.")));
        QVERIFY(!garbage.output().contains("agent bridge listening"));
    }

    void socketPathTooLong_leavesTheAppRunningWithoutABridge() {
        Home home;
        QProcessEnvironment environment = home.environment();
        const QString deep = home.dir.filePath(QString(100, 'd'));
        environment.insert("DOVRIN_HOME", deep);
        App app(environment);
        QVERIFY2(app.start("agent bridge: can't listen at " + deep + "/dv.sock: errno 36"),
                 qPrintable(app.output()));
        QVERIFY(!QFile::exists(deep + "/dv.sock"));
        QVERIFY(app.terminate());
    }

    void launchPurgesOldNotes_andTerminationSavesWhatIsPending() {
        Home home;
        {
            auto store = Store::NoteStore::open(home.database()).value();
            const auto now = QDateTime::currentDateTimeUtc();
            const auto notes = store
                                   ->create({{"old", Store::StickyColor::yellow, {}, {}},
                                             {"recent", Store::StickyColor::yellow, {}, {}}},
                                            "user", std::nullopt, now)
                                   .value();
            QVERIFY(store->moveToRecentlyDeleted(notes.at(0).id, now.addDays(-31), std::nullopt).ok());
            QVERIFY(store->moveToRecentlyDeleted(notes.at(1).id, now.addDays(-29), std::nullopt).ok());
        }
        App app(home);
        QVERIFY(app.start());
        QVERIFY2(app.output().contains(QString("store %1 new=false purged=1").arg(home.database())),
                 qPrintable(app.output()));
        {
            Mcp claude(home, "claude-ai");
            QVERIFY(!claude.call("list_notes", {}).isError);
        }
        // The agent's first use is saved a moment later; a quit must not lose it.
        QVERIFY2(app.terminate(), qPrintable(app.output()));
        QFile settings(home.dir.filePath("settings.json"));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QJsonObject connected =
            QJsonDocument::fromJson(settings.readAll()).object()["connectedAIs"].toObject();
        QVERIFY(connected.contains("Claude"));
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, StartupTest)
#include "StartupTest.moc"
