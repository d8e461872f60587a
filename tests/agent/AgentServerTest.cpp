#include "app/agent/AgentServer.h"
#include "app/agent/Provenance.h"
#include "app/agent/ToolJson.h"
#include "shared/bridge/SharedSettings.h"
#include "tests/agent/ActivityStickies.h"
#include "tests/support/ManualClock.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QJsonDocument>
#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

using namespace Dovrin;
using namespace Dovrin::Agent;

namespace {

struct Fixture {
    QTemporaryDir folder{u"/tmp/dv-XXXXXX"_s};
    ActivityStickies stickies;
    ManualClock clock;
    Provenance provenance;
    AgentServer server{stickies, stickies.store(), provenance, clock, folder.path()};

    Bridge::BridgeResponse handle(const QByteArray& request) {
        std::optional<Bridge::BridgeResponse> answer;
        server.handle(request, [&answer](const Bridge::BridgeResponse& response) { answer = response; });
        if (!answer)
            qFatal("no answer");
        return *answer;
    }
    QJsonObject error(const QByteArray& request) {
        const auto response = handle(request);
        if (!response.isError)
            qFatal("not an error: %s", qPrintable(response.text));
        return QJsonDocument::fromJson(response.text.toUtf8()).object();
    }
    void setAccess(Bridge::AIAccess access) {
        Bridge::SharedSettings settings;
        settings.aiAccess = access;
        QVERIFY(settings.writeFile(folder.filePath("settings.json")).ok());
    }
};

const QByteArray list = R"({"tool":"list_notes","arguments":{},"client":{"name":"claude"}})";

// One call over the socket, as dovrin-mcp makes it; the answer's error code, or "" for a result.
QString call(const QString& socket, const QByteArray& request) {
    auto connection = Bridge::connectToSocket(socket);
    if (!connection)
        return u"no connection"_s;
    Bridge::writeAll(connection->fd(), request);
    Bridge::shutdownWriting(connection->fd());
    const auto response = Bridge::BridgeResponse::decode(Bridge::readUntilEndOfFile(connection->fd()));
    if (!response)
        return u"no answer"_s;
    return response->isError ? QJsonDocument::fromJson(response->text.toUtf8())["error"].toString()
                             : QString();
}

qsizetype threadCount() {
    return QDir(u"/proc/self/task"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
}

} // namespace

class AgentServerTest final : public QObject {
    Q_OBJECT

private slots:
    void callLimit_countsOnTheServersClock() {
        Fixture f;
        QVERIFY(Bridge::connectToSocket(f.folder.filePath(u"dv.sock"_s)));
        QVERIFY(!f.handle(list).isError);
        f.clock.advance(59000);
        for (int i = 1; i < 60; ++i)
            QVERIFY(!f.handle(list).isError);
        f.clock.advance(500);
        QCOMPARE(f.error(list)["retry_after_seconds"].toInt(), 1);
        f.clock.advance(500);
        QVERIFY(!f.handle(list).isError);
    }

    void refusedCalls_reportNoActivity() {
        Fixture f;
        QSignalSpy active(&f.server.activity(), &AgentActivity::activeChanged);
        f.setAccess(Bridge::AIAccess::off);
        for (int i = 0; i < 70; ++i)
            QCOMPARE(f.error(list)["error"], QJsonValue("forbidden"));
        f.setAccess(Bridge::AIAccess::readWrite);
        QVERIFY(active.isEmpty());
        QCOMPARE(f.server.activity().refreshMenu().info, std::nullopt);
        QVERIFY(!f.handle(list).isError);
        QVERIFY(active.first().first().toBool());
        QCOMPARE(f.server.activity().refreshMenu().info, u"Claude used your notes · just now"_s);
    }

    void connectionFlood_keepsThreadsBoundedAndServesOthersAfterTheIdleTimeOut() {
        Fixture f;
        const QString socket = f.folder.filePath(u"dv.sock"_s);
        const qsizetype threadsBefore = threadCount();
        std::vector<Bridge::Socket> silent;
        for (int i = 0; i < 1000; ++i) {
            auto connection = Bridge::connectToSocket(socket);
            QVERIFY(connection);
            silent.push_back(std::move(connection).value());
        }
        // Beyond the cap a connection is told at once, from the accept thread, that Dovrin is busy.
        const auto refusal = Bridge::BridgeResponse::decode(Bridge::readUntilEndOfFile(silent.back().fd()));
        QVERIFY(refusal && refusal->isError);
        QCOMPARE(QJsonDocument::fromJson(refusal->text.toUtf8())["error"], QJsonValue("unavailable"));
        QVERIFY(threadCount() <= threadsBefore + AgentServer::maxConnections + 1);

        std::atomic<bool> served = false;
        std::thread caller([&] {
            for (int attempt = 0; attempt < 100 && !served; ++attempt) {
                served = call(socket, list).isEmpty();
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
            }
        });
        QTRY_VERIFY_WITH_TIMEOUT(served, 20000);
        caller.join();
        // The first connections were dropped after their idle time-out, with an answer that ends them.
        QVERIFY(!Bridge::readUntilEndOfFile(silent.front().fd()).isEmpty());
    }

    void malformedRequests_areAnsweredAsErrors() {
        Fixture f;
        QCOMPARE(f.error(R"({"tool":"rename","arguments":{}})"),
                 (QJsonObject{{"error", "invalid_arguments"}, {"message", "Unknown tool rename."}}));
        const QJsonObject broken = f.error(R"({"tool":3,"arguments":{}})");
        QCOMPARE(broken["error"], QJsonValue("unavailable"));
        QVERIFY(broken["message"].toString().startsWith("Dovrin failed: "));
        // None of them counted: 60 calls still pass.
        for (int i = 0; i < 60; ++i)
            QVERIFY(!f.handle(list).isError);
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, AgentServerTest)
#include "AgentServerTest.moc"
