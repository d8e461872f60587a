#include "AppSettings.h"
#include "PreviousInstance.h"
#include "Relauncher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <sys/wait.h>
#include <unistd.h>

using namespace Dovrin::Shell;

namespace {

struct Waiting final {
    QElapsedTimer clock;
    std::optional<PreviousInstance> result;
    qint64 elapsed = 0;
};

// Starts the wait for whatever "relaunchedFrom" in `settings` names.
void startWaiting(QSettings& settings, QObject* context, Waiting& waiting) {
    waiting.clock.start();
    waitForPreviousInstance(settings, context, [&waiting](PreviousInstance previous) {
        waiting.result = previous;
        waiting.elapsed = waiting.clock.elapsed();
    });
}

} // namespace

class RelaunchTest final : public QObject {
    Q_OBJECT

private slots:
    void previousInstance_waitsUntilGoneOrFiveSeconds() {
        QTemporaryDir folder;
        QObject context;
        QSettings none(folder.filePath("none.conf"), QSettings::IniFormat);
        QSettings odd(folder.filePath("odd.conf"), QSettings::IniFormat);
        QSettings exited(folder.filePath("exited.conf"), QSettings::IniFormat);
        QSettings stuck(folder.filePath("stuck.conf"), QSettings::IniFormat);
        QSettings quitting(folder.filePath("quitting.conf"), QSettings::IniFormat);
        odd.setValue("relaunchedFrom", Q_INT64_C(1) << 40);
        // Ended but not reaped by its parent, as an instance started by a busy parent may be for a while.
        const pid_t zombie = ::fork();
        if (zombie == 0)
            ::_exit(0);
        exited.setValue("relaunchedFrom", zombie);
        QProcess sticker;
        sticker.start("sleep", {"30"});
        QProcess quitter;
        quitter.start("sleep", {"0.3"});
        QVERIFY(sticker.waitForStarted() && quitter.waitForStarted());
        stuck.setValue("relaunchedFrom", sticker.processId());
        quitting.setValue("relaunchedFrom", quitter.processId());

        const auto expectLog = [](qint64 pid, bool gone, const char* elapsed) {
            QTest::ignoreMessage(QtInfoMsg,
                                 QRegularExpression(QString("^previous instance %1 gone=%2 after %3s$")
                                                        .arg(pid)
                                                        .arg(int(gone))
                                                        .arg(elapsed)));
        };
        expectLog(Q_INT64_C(1) << 40, true, "0\\.0\\d");
        expectLog(zombie, true, "0\\.\\d\\d");
        expectLog(quitter.processId(), true, "0\\.[2-9]\\d");
        expectLog(sticker.processId(), false, "5\\.\\d\\d");
        Waiting forNone, forOdd, forZombie, forSticker, forQuitter;
        startWaiting(none, &context, forNone);
        startWaiting(odd, &context, forOdd);
        startWaiting(exited, &context, forZombie);
        startWaiting(stuck, &context, forSticker);
        startWaiting(quitting, &context, forQuitter);
        for (QSettings* settings : {&none, &odd, &exited, &stuck, &quitting})
            QVERIFY(!settings->contains("relaunchedFrom"));

        QTRY_VERIFY(forNone.result && forOdd.result && forZombie.result);
        QCOMPARE(forNone.result->pid, 0);
        QVERIFY(forNone.elapsed < 100 && forOdd.elapsed < 100 && forZombie.elapsed < 1000);
        QVERIFY(forOdd.result->gone && forZombie.result->gone);
        ::waitpid(zombie, nullptr, 0);
        QTRY_VERIFY_WITH_TIMEOUT(forQuitter.result, 3000);
        QVERIFY(forQuitter.result->gone);
        QVERIFY(forQuitter.elapsed >= 200);
        QTRY_VERIFY_WITH_TIMEOUT(forSticker.result, 8000);
        QCOMPARE(forSticker.result->pid, sticker.processId());
        QVERIFY(!forSticker.result->gone);
        QVERIFY(forSticker.elapsed >= 5000);
        sticker.kill();
        sticker.waitForFinished();
    }

    void relaunch_leavesThePidOnlyWhenTheNewInstanceStarted() {
        QTemporaryDir folder;
        QSettings& settings = appSettings();
        const QStringList arguments{"--background", "dovrin://note/1", "-v"};

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^relaunch failed: .+"));
        QVERIFY(!Relauncher(settings, folder.filePath("missing"), arguments).relaunch());
        QVERIFY(!settings.contains("relaunchedFrom"));

        // The new instance: a script that writes down the arguments it was given.
        const QString program = folder.filePath("dovrin");
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$@\" > \"$0.arguments\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QTest::ignoreMessage(QtInfoMsg, "relaunching");
        QVERIFY(Relauncher(settings, program, arguments).relaunch());
        QCOMPARE(settings.value("relaunchedFrom").toLongLong(), QCoreApplication::applicationPid());
        QVERIFY(QFile::exists(qEnvironmentVariable("XDG_CONFIG_HOME") + "/dovrin/dovrin.conf"));
        QFile written(program + ".arguments");
        QTRY_VERIFY(written.exists() && written.size() > 0);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("--background -v\n"));
        settings.remove("relaunchedFrom");

        // Unrecorded, the new instance would not wait for this one; so it is not started.
        QSettings unwritable(folder.filePath("dovrin/no-folder-here.conf"), QSettings::IniFormat);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^relaunch failed: can't store relaunchedFrom"));
        QVERIFY(!Relauncher(unwritable, program + "-not-run", arguments).relaunch());
    }
};

QTEST_GUILESS_MAIN(RelaunchTest)

#include "RelaunchTest.moc"
