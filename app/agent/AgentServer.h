#pragma once

#include "app/agent/AgentActivity.h"
#include "app/agent/AgentTools.h"
#include "app/agent/CallGate.h"
#include "shared/bridge/BridgeResponse.h"
#include "shared/bridge/Socket.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

namespace Dovrin::Core {
class Clock;
}

namespace Dovrin::Store {
class NoteStore;
}

namespace Dovrin::Agent {

class Provenance;
class StickyAccess;

// The app's end of the bridge: listens on "dv.sock" in the data directory and turns each connection's
// request into one tool call, after the access level and the rate limits allowed it. Sockets are read and
// written on their own threads; everything else runs on the main thread.
class AgentServer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(AgentServer)

public:
    // Connections served at once; each has a thread while it is open. Beyond them a client is told at once
    // that Dovrin is busy, so that a flood of connections costs neither threads nor other clients' turns.
    static constexpr int maxConnections = 64;
    // A connection that sends nothing, or reads nothing of its answer, for this long is dropped.
    static constexpr int idleTimeoutSeconds = 5;

    // Creates the activity tracker, seeds the ✦ labels from the database and starts listening in
    // `dataDirectory` (nothing: the app runs without a bridge).
    AgentServer(StickyAccess& stickies, Store::NoteStore& store, Provenance& provenance, Core::Clock& clock,
                std::optional<QString> dataDirectory, QObject* parent = nullptr);
    // The data directory, the shared ✦ table and the system clock.
    AgentServer(StickyAccess& stickies, Store::NoteStore& store, QObject* parent = nullptr);
    ~AgentServer() override;

    AgentActivity& activity() { return *m_activity; }

    // One request's bytes in, one response out; never fails (failures are error responses).
    void handle(const QByteArray& request, std::function<void(Bridge::BridgeResponse)> done);

    class Answer;
    struct Connections;

private:
    // How long quitting waits for the clients of unfinished calls to get their answer.
    static constexpr int answerOnQuitMs = 2000;

    static void serveConnection(Bridge::Socket connection, QPointer<AgentServer> server,
                                std::shared_ptr<Connections> connections);
    void seedLabels();
    void startListening(const QString& socketPath);
    void acceptLoop();
    // Answers a connection beyond maxConnections from the accept thread, without blocking it.
    static void refuseBusy(const Bridge::Socket& connection);

    Store::NoteStore& m_store;
    Provenance& m_provenance;
    Core::Clock& m_clock;
    std::unique_ptr<AgentActivity> m_activity;
    std::unique_ptr<AgentTools> m_tools;
    CallGate m_gate;
    Bridge::Socket m_listener;
    std::atomic<bool> m_stopping = false;
    std::thread m_acceptThread;
    std::shared_ptr<Connections> m_connections;
};

} // namespace Dovrin::Agent
