#include "app/core/AppSettings.h"
#include "app/shell/PreviousInstance.h"
#include "app/shell/Relauncher.h"
#include "tests/support/TestMain.h"

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
using namespace Qt::StringLiterals;

namespace {

// One wait for the process a settings file names under "relaunchedFrom", expecting the given log line.
struct Waiting final {
    Waiting(const QString& file, qint64 pid, QObject* context, const QString& expectedLog)
        : settings(file, QSettings::IniFormat) {
        if (pid != 0)
            settings.setValue("relaunchedFrom", pid);
        if (!expectedLog.isEmpty())
            QTest::ignoreMessage(QtInfoMsg, QRegularExpression(expectedLog));
        clock.start();
        waitForPreviousInstance(settings, context, [this](PreviousInstance previous) {
            result = previous;
            elapsed = clock.elapsed();
        });
    }

    QSettings settings;
    QElapsedTimer clock;
    std::optional<PreviousInstance> result;
    qint64 elapsed = 0;
};

QString logLine(qint64 pid, bool gone, const QString& elapsed) {
    return QString("^previous instance %1 gone=%2 after %3s$")
        .arg(pid)
        .arg(gone ? u"true"_s : u"false"_s)
        .arg(elapsed);
}

} // namespace

class RelaunchTest final : public QObject {
    Q_OBJECT

private slots:
    void previousInstance_waitsUntilGoneOrFiveSeconds() {
        QTemporaryDir folder;
        QObject context;
        // Ended but not reaped by its parent, as an instance started by a busy parent may be for a while.
        const pid_t zombie = ::fork();
        if (zombie == 0)
            ::_exit(0);
        QProcess stuck;
        stuck.start("sleep", {"30"});
        QProcess quitting;
        quitting.start("sleep", {"0.3"});
        QVERIFY(stuck.waitForStarted() && quitting.waitForStarted());

        Waiting none(folder.filePath("none"), 0, &context, {});
        Waiting huge(folder.filePath("huge"), Q_INT64_C(1) << 40, &context,
                     logLine(Q_INT64_C(1) << 40, true, "0\\.0\\d"));
        Waiting ended(folder.filePath("ended"), zombie, &context, logLine(zombie, true, "0\\.\\d\\d"));
        Waiting forStuck(folder.filePath("stuck"), stuck.processId(), &context,
                         logLine(stuck.processId(), false, "5\\.\\d\\d"));
        Waiting forQuitting(folder.filePath("quitting"), quitting.processId(), &context,
                            logLine(quitting.processId(), true, "0\\.[2-9]\\d"));
        for (const Waiting* waiting : {&none, &huge, &ended, &forStuck, &forQuitting})
            QVERIFY(!waiting->settings.contains("relaunchedFrom"));

        QTRY_VERIFY(none.result && huge.result && ended.result);
        QCOMPARE(none.result->pid, 0);
        QVERIFY(none.elapsed < 1000 && huge.elapsed < 1000 && ended.elapsed < 1000);
        QVERIFY(huge.result->gone && ended.result->gone);
        ::waitpid(zombie, nullptr, 0);
        QTRY_VERIFY_WITH_TIMEOUT(forQuitting.result, 3000);
        QVERIFY(forQuitting.result->gone && forQuitting.elapsed >= 200);
        QTRY_VERIFY_WITH_TIMEOUT(forStuck.result, 8000);
        QVERIFY(!forStuck.result->gone && forStuck.elapsed >= 5000);
        stuck.kill();
        stuck.waitForFinished();
    }

    void relaunch_leavesThePidOnlyWhenTheNewInstanceStarted() {
        QTemporaryDir folder;
        QSettings& settings = Dovrin::Core::appSettings();
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
        QVERIFY(QFile::exists(Dovrin::Testing::TemporaryHome::configFile("dovrin/dovrin.conf")));
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

private:
    Dovrin::Testing::TemporaryHome m_home;
};

DOVRIN_TEST_MAIN(QCoreApplication, RelaunchTest)

#include "RelaunchTest.moc"
