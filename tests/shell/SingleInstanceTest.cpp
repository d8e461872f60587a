#include "app/shell/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

using namespace Dovrin::Shell;
using Role = SingleInstance::Role;

namespace {

// The test binary doubles as a later start of the app ("--as-second <folder> <arguments>…") and as a
// primary that ends after some milliseconds without cleaning up, as a crash would ("--as-primary <folder>
// <ms>").
int runAsSecond(const QString& folder, const QStringList& arguments) {
    SingleInstance instance(folder);
    if (const auto role = instance.claim(); !role || *role != Role::secondary)
        return 3;
    const auto handed = instance.handOver(LaunchRequest::fromArguments(arguments));
    if (!handed)
        std::fprintf(stderr, "%s\n", qUtf8Printable(handed.error()));
    return handed ? 0 : 1;
}

int runAsPrimary(const QString& folder, int lifetime) {
    SingleInstance instance(folder);
    if (const auto role = instance.claim(); !role || *role != Role::primary)
        return 3;
    std::printf("primary\n");
    std::fflush(stdout);
    QTimer::singleShot(lifetime, [] { ::_exit(0); });
    return QCoreApplication::exec();
}

// Runs this binary as a later start in `folder` while the event loop goes on; its exit code and errors.
std::pair<int, QByteArray> startSecond(const QString& folder, const QStringList& arguments) {
    QProcess second;
    second.start(QCoreApplication::applicationFilePath(),
                 QStringList{"--as-second", folder, "dovrin"} + arguments);
    const bool ended = QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 10000);
    return {ended && second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1,
            second.readAllStandardError()};
}

// What the primary answered to `bytes` before it closed the connection; nothing when it kept it open.
std::optional<QJsonObject> answerTo(const QString& socketPath, const QByteArray& bytes) {
    QLocalSocket client;
    client.connectToServer(socketPath);
    client.write(bytes);
    QByteArray answer;
    if (!QTest::qWaitFor([&] {
            answer += client.readAll();
            return client.state() == QLocalSocket::UnconnectedState;
        }))
        return std::nullopt;
    return QJsonDocument::fromJson(answer).object();
}

} // namespace

class SingleInstanceTest final : public QObject {
    Q_OBJECT

private slots:
    void claim_onePrimaryPerFolderEvenAfterACrash() {
        QTemporaryDir folder("/tmp/dv-XXXXXX");
        QProcess crashing;
        crashing.start(QCoreApplication::applicationFilePath(), {"--as-primary", folder.path(), "300"});
        QVERIFY(crashing.waitForReadyRead(10000));
        auto primary = std::make_unique<SingleInstance>(folder.path());
        QCOMPARE(*primary->claim(), Role::secondary);
        QCOMPARE(*primary->claim(SingleInstance::relaunchPatience), Role::primary);
        // The crashed primary's socket file was replaced, so a later start gets through.
        QSignalSpy received(primary.get(), &SingleInstance::requestReceived);
        QCOMPARE(startSecond(folder.path(), {}).first, 0);
        QCOMPARE(received.size(), 1);

        // A child started while the lock is held, as a relaunch is, must not keep it once this process lets
        // go.
        QProcess child;
        child.start("sleep", {"30"});
        QVERIFY(child.waitForStarted());
        primary.reset();
        QCOMPARE(*SingleInstance(folder.path()).claim(), Role::primary);
        child.kill();
        child.waitForFinished();

        const QString tooDeep = folder.path() + "/" + QString(90, 'n');
        QVERIFY(QDir().mkpath(tooDeep));
        const auto refused = SingleInstance(tooDeep).claim();
        QVERIFY(!refused);
        QVERIFY2(refused.error().contains("too long"), qPrintable(refused.error()));
        QVERIFY(!SingleInstance(tooDeep).handOver({}));
    }

    void handOver_deliversLinksAndDropsBadClients() {
        QTemporaryDir folder("/tmp/dv-XXXXXX");
        SingleInstance primary(folder.path());
        QCOMPARE(*primary.claim(), Role::primary);
        QSignalSpy received(&primary, &SingleInstance::requestReceived);
        QLocalSocket idle;
        idle.connectToServer(primary.socketPath());
        QVERIFY(idle.waitForConnected());

        for (const QByteArray& bad : {QByteArray("hello\n"), QByteArray("\x00\xff\n", 3),
                                      QByteArray(R"({"version":2,"urls":[],"background":false})"
                                                 "\n"),
                                      QByteArray(R"({"version":1,"urls":"dovrin://note/1"})"
                                                 "\n")}) {
            const auto answer = answerTo(primary.socketPath(), bad);
            QVERIFY(answer);
            QCOMPARE(answer->value("ok"), QJsonValue(false));
            QVERIFY(!answer->value("error").toString().isEmpty());
        }
        // The answer to an endless line may be lost to the broken pipe; the connection must end either way.
        const auto cutShort = answerTo(primary.socketPath(), QByteArray(70 * 1024, '{'));
        QVERIFY(cutShort && cutShort->value("ok") != QJsonValue(true));
        const auto answer = answerTo(primary.socketPath(), R"({"version":1,"urls":["file:///etc/passwd",)"
                                                           R"("dovrin://note/2"],"background":false})"
                                                           "\n");
        QVERIFY(answer && answer->value("ok") == QJsonValue(true));
        QCOMPARE(received.size(), 1);
        QCOMPARE(received[0][0].value<QList<QUrl>>(), QList<QUrl>{QUrl("dovrin://note/2")});

        const auto [status, errors] =
            startSecond(folder.path(), {"dovrin://note/0b7e", "https://example.com/n/1", "--background",
                                        "junk", "dovrin://settings/login"});
        QVERIFY2(status == 0, errors.constData());
        QVERIFY(errors.contains("ignoring argument https://example.com/n/1") &&
                errors.contains("ignoring argument junk"));
        QCOMPARE(received.size(), 2);
        QCOMPARE(received[1][0].value<QList<QUrl>>(),
                 (QList<QUrl>{QUrl("dovrin://note/0b7e"), QUrl("dovrin://settings/login")}));
        QCOMPARE(received[1][1].toBool(), true);
        QCOMPARE(startSecond(folder.path(), {}).first, 0);
        QCOMPARE(received.size(), 3);
        QVERIFY(received[2][0].value<QList<QUrl>>().isEmpty() && !received[2][1].toBool());

        QCOMPARE(idle.state(), QLocalSocket::ConnectedState);
        QTRY_COMPARE_WITH_TIMEOUT(idle.state(), QLocalSocket::UnconnectedState,
                                  int(SingleInstance::clientPatience.count()) + 2000);
        // Handing over from this thread keeps the primary's event loop from running, so it cannot answer.
        const auto unanswered = SingleInstance(folder.path()).handOver({}, std::chrono::milliseconds(300));
        QVERIFY(!unanswered);
        QVERIFY2(unanswered.error().contains("did not answer"), qPrintable(unanswered.error()));
    }
};

int main(int argc, char* argv[]) {
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() >= 3 && arguments[1] == "--as-second")
        return runAsSecond(arguments[2], arguments.mid(3));
    if (arguments.size() >= 4 && arguments[1] == "--as-primary")
        return runAsPrimary(arguments[2], arguments[3].toInt());
    SingleInstanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SingleInstanceTest.moc"
