#include "shared/bridge/Socket.h"
#include "tests/mcp/BridgeTestServer.h"
#include "tests/mcp/McpProcess.h"
#include "tests/support/TestMain.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

const QString notRunning = QString::fromUtf8("Dovrin isn't running — open Dovrin");

QString writeFile(const QString& path, const QByteArray& bytes, bool executable = false) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

// A stand-in `dovrin` that notes each start (its pid and arguments) in "launches" and then runs `body`.
QString writeStandIn(const QString& home, const QByteArray& body) {
    return writeFile(home + "/dovrin-stand-in",
                     "#!/bin/sh\necho \"$$ $*\" >> \"$DOVRIN_HOME/launches\"\n" + body + "\n", true);
}

QByteArray listeningStandIn(int delaySeconds) {
    return "sleep " + QByteArray::number(delaySeconds) +
           "\nexec " STAND_IN_APP_PATH " \"$DOVRIN_HOME/dv.sock\"";
}

QStringList launches(const QString& home) {
    QFile file(home + "/launches");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

// Launched stand-ins live in their own session, so nothing else would end them.
void stopLaunched(const QString& home) {
    for (const QString& line : launches(home))
        ::kill(line.section(' ', 0, 0).toInt(), SIGTERM);
}

QProcessEnvironment appAt(const QString& path) {
    QProcessEnvironment environment;
    environment.insert("DOVRIN_APP", path);
    return environment;
}

QString unavailableMessage(const QJsonObject& response) {
    const QJsonObject result = response.value("result").toObject();
    if (result.value("isError") != QJsonValue(true))
        return "not an error result: " + QString::fromUtf8(QJsonDocument(response).toJson());
    const QJsonObject error = resultTextAsJson(response);
    if (error.keys() != QStringList{"error", "message"} || error.value("error") != QJsonValue("unavailable"))
        return "not an unavailable error: " + resultText(response);
    return error.value("message").toString();
}

} // namespace

class HostAppTest final : public QObject {
    Q_OBJECT

private slots:
    void appStopped_withoutLaunching_saysOpenDovrin() {
        QTemporaryDir home("/tmp/dv-XXXXXX");
        const QString standIn = writeStandIn(home.path(), listeningStandIn(0));
        writeFile(home.path() + "/settings.json", R"({"letAIOpenDovrin": false})");
        McpProcess forbidden(home.path(), appAt(standIn));
        QElapsedTimer timer;
        timer.start();
        forbidden.request(1, "tools/call", {{"name", "list_notes"}});
        QCOMPARE(unavailableMessage(forbidden.response(1)), notRunning);
        QVERIFY(timer.elapsed() < 2000);
        QVERIFY(resultText(forbidden.response(1)).isEmpty());

        QVERIFY(QFile::remove(home.path() + "/settings.json"));
        for (const QString& app :
             {home.path() + "/nowhere/dovrin", writeFile(home.path() + "/plain-file", {})}) {
            McpProcess mcp(home.path(), appAt(app));
            mcp.request(2, "tools/call", {{"name", "list_notes"}});
            QCOMPARE(unavailableMessage(mcp.response(2)), notRunning);
        }

        McpProcess unopenable(
            home.path(),
            appAt(writeFile(home.path() + "/garbage", QByteArray("\x7f\x45\x4c\x46 not really", 14), true)));
        unopenable.request(4, "tools/call", {{"name", "list_notes"}});
        const QString message = unavailableMessage(unopenable.response(4));
        QVERIFY2(message.startsWith(notRunning + " (it couldn't be opened: ") && message.endsWith(")"),
                 qPrintable(message));
        QVERIFY(launches(home.path()).isEmpty());
    }

    void appStartingSlowlyAfterACrash_isStartedOnceAndReachedAfterAboutThreeSeconds() {
        QTemporaryDir home("/tmp/dv-XXXXXX");
        // The socket file a crashed app left behind.
        const QString socketPath = home.path() + "/dv.sock";
        QVERIFY(Dovrin::Bridge::listenOnSocket(socketPath));
        QVERIFY(QFile::exists(socketPath));
        // A descriptor the AI client left open without close-on-exec reaches dovrin-mcp, but not the app.
        const QString stray = writeFile(home.path() + "/stray", {});
        const int strayFd = ::open(QFile::encodeName(stray).constData(), O_RDONLY);
        McpProcess mcp(home.path(),
                       appAt(writeStandIn(home.path(), "ls -l /proc/$$/fd > \"$DOVRIN_HOME/fds\"\n" +
                                                           listeningStandIn(3))));
        ::close(strayFd);
        QElapsedTimer timer;
        timer.start();
        mcp.send(R"({"jsonrpc":"2.0","id":1,"method":"tools/call","params":{"name":"list_notes"}}
{"jsonrpc":"2.0","id":2,"method":"tools/call","params":{"name":"set_todo"}}
{"jsonrpc":"2.0","id":3,"method":"tools/call","params":{"name":"delete_note"}})");
        QStringList tools;
        for (int id = 1; id <= 3; ++id)
            tools << resultTextAsJson(mcp.response(id, 12000)).value("tool").toString();
        const qint64 elapsed = timer.elapsed();
        stopLaunched(home.path());
        QCOMPARE(tools, (QStringList{"list_notes", "set_todo", "delete_note"}));
        QVERIFY2(elapsed >= 2900 && elapsed < 8000, qPrintable(QString::number(elapsed)));
        QCOMPARE(launches(home.path()).size(), 1);
        QVERIFY(launches(home.path()).first().endsWith(" --background"));
        QFile fds(home.path() + "/fds");
        QVERIFY(fds.open(QIODevice::ReadOnly));
        const QByteArray open = fds.readAll();
        QVERIFY2(open.contains("/dev/null") && !open.contains("stray"), open.constData());
    }

    void silentApps_giveUpAfterTenSeconds() {
        QTemporaryDir neverListens("/tmp/dv-XXXXXX");
        McpProcess launched(neverListens.path(), appAt(writeStandIn(neverListens.path(), "exit 0")));
        QTemporaryDir neverAnswers("/tmp/dv-XXXXXX");
        BridgeTestServer server(neverAnswers.path() + "/dv.sock",
                                [](const QByteArray&) { return std::nullopt; });
        McpProcess waiting(neverAnswers.path());

        QElapsedTimer timer;
        timer.start();
        launched.request(1, "tools/call", {{"name", "list_notes"}});
        waiting.request(2, "tools/call", {{"name", "list_notes"}});
        QCOMPARE(unavailableMessage(waiting.response(2, 15000)), "Dovrin didn't answer in time. Try again.");
        QVERIFY2(timer.elapsed() >= 9500, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(unavailableMessage(launched.response(1, 15000)),
                 notRunning + " (it was opened but didn't answer within 10 s)");
        QVERIFY2(timer.elapsed() >= 9900, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(launches(neverListens.path()).size(), 1);
        QCOMPARE(server.requests().size(), 1);
    }

    void brokenLinks_reportWhatWentWrong() {
        QTemporaryDir folder("/tmp/dv-XXXXXX");
        const QString longHome = folder.path() + "/" + QString(100, 'h');
        McpProcess tooLong(longHome);
        tooLong.request(1, "tools/call", {{"name", "list_notes"}});
        QCOMPARE(unavailableMessage(tooLong.response(1)),
                 "Can't reach Dovrin at " + longHome + "/dv.sock: File name too long");

        McpProcess noFolder(writeFile(folder.path() + "/blocker", {}));
        noFolder.request(2, "tools/call", {{"name", "list_notes"}});
        QCOMPARE(unavailableMessage(noFolder.response(2)),
                 "dovrin-mcp has no data directory (it needs $DOVRIN_HOME or $XDG_DATA_HOME, or a home "
                 "folder it can write).");

        const QString home = folder.path() + "/home";
        QVERIFY(QDir().mkpath(home));
        BridgeTestServer incomplete(home + "/dv.sock", [](const QByteArray&) {
            return QByteArray(R"({"text":"hi","isError":false})");
        });
        McpProcess noImages(home);
        noImages.request(3, "tools/call", {{"name", "list_notes"}});
        QCOMPARE(unavailableMessage(noImages.response(3)), "Dovrin didn't answer in time. Try again.");

        const QString closingHome = folder.path() + "/closing";
        QDir().mkpath(closingHome);
        auto listener = Dovrin::Bridge::listenOnSocket(closingHome + "/dv.sock");
        QVERIFY(listener);
        std::thread closer([fd = listener->fd()] {
            while (auto connection = Dovrin::Bridge::acceptConnection(fd))
                connection.value().close();
        });
        McpProcess closed(closingHome);
        closed.request(
            4, "tools/call",
            {{"name", "create_notes"}, {"arguments", QJsonObject{{"big", QString(8 << 20, 'x')}}}});
        QCOMPARE(unavailableMessage(closed.response(4, 10000)),
                 "Dovrin closed the connection before reading the request.");
        ::shutdown(listener->fd(), SHUT_RDWR);
        closer.join();
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, HostAppTest)
#include "HostAppTest.moc"
