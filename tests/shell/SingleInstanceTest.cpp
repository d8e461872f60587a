#include "SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <optional>

using namespace Dovrin::Shell;

namespace {

// The test binary doubles as a second start of the app ("--as-second <folder> <arguments>…") and as a
// primary that can be killed ("--as-primary <folder>").
int runAsSecond(const QString& folder, const QStringList& arguments) {
    SingleInstance instance(folder);
    const auto role = instance.claim();
    if (!role || *role != SingleInstance::Role::secondary)
        return 3;
    const auto handed = instance.handOver(LaunchRequest::fromArguments(arguments));
    if (!handed)
        std::fprintf(stderr, "%s\n", qUtf8Printable(handed.error()));
    return handed ? 0 : 1;
}

int runAsPrimary(const QString& folder) {
    SingleInstance instance(folder);
    const auto role = instance.claim();
    if (!role || *role != SingleInstance::Role::primary)
        return 3;
    std::printf("primary\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

// Starts this binary as a second instance of `folder` and waits for it while the event loop runs.
std::unique_ptr<QProcess> startSecond(const QString& folder, const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->start(QCoreApplication::applicationFilePath(), QStringList{"--as-second", folder} + arguments);
    return process;
}

// What the primary answered to `bytes` before it closed the connection; nothing when it kept it open.
std::optional<QJsonObject> answerTo(const QString& socketPath, const QByteArray& bytes) {
    QLocalSocket client;
    client.connectToServer(socketPath);
    client.write(bytes);
    QByteArray answer;
    const bool closed = QTest::qWaitFor([&] {
        answer += client.readAll();
        return client.state() == QLocalSocket::UnconnectedState;
    });
    if (!closed)
        return std::nullopt;
    return QJsonDocument::fromJson(answer).object();
}

} // namespace

class SingleInstanceTest final : public QObject {
    Q_OBJECT

private slots:
    void claim_onePrimaryPerFolder() {
        QTemporaryDir folder("/tmp/dv-XXXXXX");
        auto primary = std::make_unique<SingleInstance>(folder.path());
        QCOMPARE(*primary->claim(), SingleInstance::Role::primary);
        QVERIFY(QFile::exists(primary->socketPath()));
        SingleInstance other(folder.path());
        QCOMPARE(*other.claim(std::chrono::milliseconds(200)), SingleInstance::Role::secondary);

        // A child started while the lock is held (as a relaunch is) must not keep it after this process lets
        // go.
        QProcess child;
        child.start("sleep", {"30"});
        QVERIFY(child.waitForStarted());
        primary.reset();
        QCOMPARE(*other.claim(), SingleInstance::Role::primary);
        child.kill();
        child.waitForFinished();

        QTemporaryDir deep("/tmp/dv-XXXXXX");
        const QString tooDeep = deep.path() + "/" + QString(90, 'n');
        QVERIFY(QDir().mkpath(tooDeep));
        const auto refused = SingleInstance(tooDeep).claim();
        QVERIFY(!refused);
        QVERIFY2(refused.error().contains("too long"), qPrintable(refused.error()));
        QVERIFY(!SingleInstance(tooDeep).handOver({}));
    }

    void secondStart_handsItsLinksToThePrimary() {
        QTemporaryDir folder("/tmp/dv-XXXXXX");
        SingleInstance primary(folder.path());
        QCOMPARE(*primary.claim(), SingleInstance::Role::primary);
        QSignalSpy received(&primary, &SingleInstance::requestReceived);

        auto second = startSecond(folder.path(), {"dovrin", "dovrin://note/0b7e", "https://example.com/n/1",
                                                  "--background", "junk", "dovrin://settings/login"});
        QTRY_COMPARE_WITH_TIMEOUT(second->state(), QProcess::NotRunning, 10000);
        const QByteArray errors = second->readAllStandardError();
        QVERIFY2(second->exitCode() == 0, errors.constData());
        QVERIFY(errors.contains("ignoring argument https://example.com/n/1"));
        QVERIFY(errors.contains("ignoring argument junk"));
        QCOMPARE(received.size(), 1);
        QCOMPARE(received[0][0].value<QList<QUrl>>(),
                 (QList<QUrl>{QUrl("dovrin://note/0b7e"), QUrl("dovrin://settings/login")}));
        QCOMPARE(received[0][1].toBool(), true);

        second = startSecond(folder.path(), {"dovrin"});
        QTRY_COMPARE_WITH_TIMEOUT(second->state(), QProcess::NotRunning, 10000);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(received.size(), 2);
        QVERIFY(received[1][0].value<QList<QUrl>>().isEmpty());
        QCOMPARE(received[1][1].toBool(), false);

        // Handing over from this thread blocks the primary's event loop here, so it cannot answer.
        const auto unanswered = SingleInstance(folder.path()).handOver({}, std::chrono::milliseconds(300));
        QVERIFY(!unanswered);
        QVERIFY2(unanswered.error().contains("did not answer"), qPrintable(unanswered.error()));
    }

    void killedPrimary_leavesNothingThatBlocks() {
        QTemporaryDir folder("/tmp/dv-XXXXXX");
        QProcess crashed;
        crashed.start(QCoreApplication::applicationFilePath(), {"--as-primary", folder.path()});
        QVERIFY(crashed.waitForReadyRead(10000));
        QCOMPARE(crashed.readAll(), QByteArray("primary\n"));
        crashed.kill();
        QVERIFY(crashed.waitForFinished());

        SingleInstance primary(folder.path());
        QVERIFY(QFile::exists(primary.socketPath()));
        QCOMPARE(*primary.claim(), SingleInstance::Role::primary);
        QSignalSpy received(&primary, &SingleInstance::requestReceived);
        const auto second = startSecond(folder.path(), {"dovrin", "dovrin://note/1"});
        QTRY_COMPARE_WITH_TIMEOUT(second->state(), QProcess::NotRunning, 10000);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(received.size(), 1);
    }

    void badClients_areDroppedWhileGoodOnesAreServed() {
        QTemporaryDir folder("/tmp/dv-XXXXXX");
        SingleInstance primary(folder.path());
        QCOMPARE(*primary.claim(), SingleInstance::Role::primary);
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
        QVERIFY(cutShort);
        QVERIFY(cutShort->value("ok") != QJsonValue(true));

        const auto answer = answerTo(primary.socketPath(), R"({"version":1,"urls":["file:///etc/passwd",)"
                                                           R"("dovrin://note/2"],"background":false})"
                                                           "\n");
        QVERIFY(answer);
        QCOMPARE(answer->value("ok"), QJsonValue(true));
        QCOMPARE(received.size(), 1);
        QCOMPARE(received[0][0].value<QList<QUrl>>(), QList<QUrl>{QUrl("dovrin://note/2")});

        const auto second = startSecond(folder.path(), {"dovrin", "dovrin://note/3"});
        QTRY_COMPARE_WITH_TIMEOUT(second->state(), QProcess::NotRunning, 10000);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(received.size(), 2);
        QCOMPARE(idle.state(), QLocalSocket::ConnectedState);
        QTRY_COMPARE_WITH_TIMEOUT(idle.state(), QLocalSocket::UnconnectedState,
                                  int(SingleInstance::clientPatience.count()) + 2000);
        QCOMPARE(received.size(), 2);
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() >= 3 && arguments[1] == "--as-second")
        return runAsSecond(arguments[2], arguments.mid(3));
    if (arguments.size() >= 3 && arguments[1] == "--as-primary")
        return runAsPrimary(arguments[2]);
    SingleInstanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SingleInstanceTest.moc"
