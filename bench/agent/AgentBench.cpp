// End-to-end cost of agent tools as an AI client sees it: a tools/call line written to dovrin-mcp until
// its answer line arrives, with the real dovrin app answering over dv.sock.
#include "app/agent/AgentServer.h"
#include "app/agent/Provenance.h"
#include "app/stickies/AgentStickies.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"
#include "bench/support/Measure.h"
#include "tests/support/ManualClock.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <memory>
#include <vector>

using namespace Dovrin;

namespace {

QProcessEnvironment environmentFor(const QTemporaryDir& home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DOVRIN_HOME", home.path());
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("DOVRIN_APP", DOVRIN_APP_PATH);
    return environment;
}

QByteArray line(const QJsonObject& message) {
    return QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n';
}

// One AI client. Each has its own title, so each has its own rate-limit bucket (60 calls a minute).
class Client final {
public:
    Client(const QTemporaryDir& home, const QString& title) {
        m_process.setProcessEnvironment(environmentFor(home));
        m_process.start(DOVRIN_MCP_PATH, {});
        m_process.waitForStarted();
        send({{"method", "initialize"},
              {"params", QJsonObject{{"protocolVersion", "2025-06-18"},
                                     {"capabilities", QJsonObject()},
                                     {"clientInfo", QJsonObject{{"name", "bench"}, {"title", title}}}}}});
        waitForAnswers(1);
    }
    ~Client() {
        m_process.closeWriteChannel();
        m_process.waitForFinished(5000);
    }

    void send(QJsonObject message) {
        message.insert("jsonrpc", "2.0");
        message.insert("id", m_nextID++);
        m_process.write(line(message));
    }
    void call(const QString& tool, const QJsonObject& arguments) {
        send({{"method", "tools/call"}, {"params", QJsonObject{{"name", tool}, {"arguments", arguments}}}});
    }
    // Reads answer lines until `count` arrived; false on an error answer or after 60 s.
    bool waitForAnswers(int count) {
        const QDeadlineTimer deadline(60000);
        while (count > 0 && !deadline.hasExpired()) {
            if (!m_process.canReadLine() && !m_process.waitForReadyRead(1000))
                continue;
            while (count > 0 && m_process.canReadLine()) {
                const QJsonObject answer = QJsonDocument::fromJson(m_process.readLine()).object();
                if (answer["result"].toObject()["isError"].toBool() || answer.contains("error")) {
                    qWarning("error answer: %s", QJsonDocument(answer).toJson().constData());
                    return false;
                }
                --count;
            }
        }
        return count == 0;
    }
    bool hasLine() { return m_process.canReadLine() || m_process.waitForReadyRead(0); }

private:
    QProcess m_process;
    int m_nextID = 1;
};

QString noteText(int i) {
    QString text = QString("# Note %1\n- [ ] first task\n- [x] second task\n").arg(i);
    while (text.size() < 600)
        text += "Some words about the garden, the trip and the shopping list. ";
    return text;
}

// Latency of one tool call at a time, spread over fresh clients so that no rate limit is reached.
Bench::Timing latency(const QTemporaryDir& home, const QString& name, int runs, const QString& tool,
                      const QJsonObject& arguments) {
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i * 50 < runs; ++i)
        clients.push_back(std::make_unique<Client>(home, QString("%1 %2").arg(name).arg(i)));
    int run = 0;
    return Bench::measure(runs, [&] {
        Client& client = *clients[size_t(run++ / 50)];
        client.call(tool, arguments);
        if (!client.waitForAnswers(1))
            qFatal("%s failed", qPrintable(tool));
    });
}

// The same calls inside one process, without dovrin-mcp and the socket: what the app's main thread spends
// (gate, activity records, tool, JSON). The seeded database is copied so the app started later finds it as
// is.
void inProcess(const QTemporaryDir& home, const QString& longNoteID) {
    QTemporaryDir copy("/tmp/dv-XXXXXX");
    QFile::copy(home.filePath("Dovrin.sqlite"), copy.filePath("Dovrin.sqlite"));
    auto store = Store::NoteStore::open(copy.filePath("Dovrin.sqlite")).value();
    Agent::Provenance provenance;
    Agent::ManualClock clock;
    Stickies::StickyManager manager(*store, provenance);
    Stickies::AgentStickies stickies(manager, provenance);
    Agent::AgentServer server(stickies, *store, provenance, clock, copy.path());
    const auto run = [&](const QString& name, const QByteArray& request) {
        Bench::report(name, Bench::measure(200, [&] {
                          // A second between calls keeps the agent under 60 calls a minute.
                          clock.advance(1100);
                          bool answered = false;
                          server.handle(request, [&answered](const Bridge::BridgeResponse& response) {
                              if (response.isError)
                                  qFatal("%s", qPrintable(response.text));
                              answered = true;
                          });
                          if (!answered)
                              qFatal("no answer");
                      }));
    };
    run("in process: list_notes over 1,000 notes (default limit 50)",
        R"({"tool":"list_notes","arguments":{},"client":{"name":"bench"}})");
    run("in process: list_notes over 1,000 notes (limit 1000)",
        R"({"tool":"list_notes","arguments":{"limit":1000},"client":{"name":"bench"}})");
    run("in process: read_note of a 24,000-character note",
        QJsonDocument(QJsonObject{{"tool", "read_note"},
                                  {"arguments", QJsonObject{{"note", longNoteID}}},
                                  {"client", QJsonObject{{"name", "bench"}}}})
            .toJson());
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir home("/tmp/dv-XXXXXX");
    QString longNoteID;
    {
        auto store = Store::NoteStore::open(home.filePath("Dovrin.sqlite"));
        if (!store)
            qFatal("store: %s", qPrintable(store.error().description));
        QList<Store::NoteStore::NewNote> batch;
        for (int i = 0; i < 999; ++i) {
            batch.append({noteText(i), Store::StickyColor::yellow, QRectF(0, 0, 260, 200), std::nullopt});
            if (batch.size() == 100 || i == 998) {
                if (!(*store)->create(batch, "user", std::nullopt, QDateTime::currentDateTimeUtc()))
                    qFatal("can't seed");
                batch.clear();
            }
        }
        QString longText;
        while (longText.size() < 24000)
            longText +=
                QString::fromUtf8("Line with an emoji 👍🏽 and café, then more words to fill it up.\n");
        longText.truncate(24000);
        const auto created =
            (*store)->create({{longText, Store::StickyColor::blue, QRectF(0, 0, 260, 200), {}}}, "user",
                             std::nullopt, QDateTime::currentDateTimeUtc());
        longNoteID = created->first().idText();
    }

    QProcess dovrin;
    dovrin.setProcessEnvironment(environmentFor(home));
    // The app logs every call: into a file, so that an unread pipe never holds it up.
    const QString logPath = qEnvironmentVariable("DOVRIN_BENCH_LOG", home.filePath("dovrin.log"));
    dovrin.setProcessChannelMode(QProcess::MergedChannels);
    dovrin.setStandardOutputFile(logPath);
    dovrin.start(DOVRIN_APP_PATH, {"--background"});
    const QDeadlineTimer started(20000);
    QFile log(logPath);
    while (!started.hasExpired() &&
           !(log.open(QIODevice::ReadOnly) && log.readAll().contains("agent bridge listening"))) {
        log.close();
        QThread::msleep(20);
    }

    inProcess(home, longNoteID);

    Bench::report("list_notes over 1,000 notes (default limit 50)",
                  latency(home, "List", 200, "list_notes", QJsonObject()));
    Bench::report("list_notes over 1,000 notes (limit 1000)",
                  latency(home, "ListAll", 200, "list_notes", {{"limit", 1000}}));
    Bench::report("read_note of a 24,000-character note",
                  latency(home, "Read", 200, "read_note", {{"note", longNoteID}}));

    // Throughput: 20 clients, each making its calls one after another.
    constexpr int clientCount = 20;
    constexpr int callsEach = 50;
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < clientCount; ++i)
        clients.push_back(std::make_unique<Client>(home, QString("Concurrent %1").arg(i)));
    std::vector<int> left(clientCount, callsEach);
    QElapsedTimer timer;
    timer.start();
    for (auto& client : clients)
        client->call("list_notes", {{"limit", 20}});
    int busy = clientCount;
    while (busy > 0) {
        for (int i = 0; i < clientCount; ++i) {
            if (left[size_t(i)] == 0 || !clients[size_t(i)]->hasLine())
                continue;
            if (!clients[size_t(i)]->waitForAnswers(1))
                qFatal("a concurrent call failed");
            if (--left[size_t(i)] > 0)
                clients[size_t(i)]->call("list_notes", {{"limit", 20}});
            else
                --busy;
        }
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    QTextStream(stdout) << QString("20 concurrent clients: %1 list_notes calls in %2 s, %3 calls/s\n")
                               .arg(clientCount * callsEach)
                               .arg(seconds, 0, 'f', 2)
                               .arg(clientCount * callsEach / seconds, 0, 'f', 0);
    dovrin.terminate();
    dovrin.waitForFinished(5000);
    return 0;
}
