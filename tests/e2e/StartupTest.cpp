#include "app/store/NoteStore.h"
#include "tests/e2e/Processes.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace Dovrin;
using namespace Dovrin::E2e;

namespace {

struct Exit {
    int code = -1;
    QString output;
};

Exit runUntilExit(const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(binary("dovrin"), {"--background"});
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
    }
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

} // namespace

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
        Exit exit = runUntilExit(environment);
        QCOMPARE(exit.code, 1);
        QVERIFY2(exit.output.contains(
                     QString::fromUtf8("Dovrin can’t open your notes.\ndata directory unavailable")),
                 qPrintable(exit.output));

        const QByteArray garbage(8192, 'g');
        QFile database(home.database());
        QVERIFY(database.open(QIODevice::WriteOnly));
        database.write(garbage);
        database.close();
        exit = runUntilExit(home.environment());
        QCOMPARE(exit.code, 1);
        QVERIFY(exit.output.contains(QString::fromUtf8("Dovrin can’t open your notes.")));
        QVERIFY(!exit.output.contains("agent bridge listening"));
    }

    void socketPathTooLong_leavesTheAppRunningWithoutABridge() {
        Home home;
        QProcessEnvironment environment = home.environment();
        const QString deep = home.dir.filePath(QString(100, 'd'));
        QVERIFY(QDir().mkpath(deep));
        createDatabase(deep);
        environment.insert("DOVRIN_HOME", deep);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(binary("dovrin"), {"--background"});
        QByteArray output;
        const QByteArray expected =
            "agent bridge: can't listen at " + QFile::encodeName(deep) + "/dv.sock: errno 36";
        for (int i = 0; i < 100 && !output.contains(expected); ++i)
            if (process.waitForReadyRead(200))
                output += process.readAll();
        QVERIFY2(output.contains(expected), output.constData());
        QCOMPARE(process.state(), QProcess::Running);
        QVERIFY(!QFile::exists(deep + "/dv.sock"));
        process.terminate();
        QVERIFY(process.waitForFinished(10000));
    }

    void terminationSignal_quitsInOrderAndSavesWhatIsPending() {
        Home home;
        App app(home);
        QVERIFY(app.start());
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

    void launch_purgesNotesDeletedMoreThan30DaysAgo() {
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
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, StartupTest)
#include "StartupTest.moc"
