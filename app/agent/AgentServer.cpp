#include "app/agent/AgentServer.h"

#include "app/agent/AgentName.h"
#include "app/agent/Completion.h"
#include "app/agent/Provenance.h"
#include "app/agent/StickyAccess.h"
#include "app/agent/ToolJson.h"
#include "app/core/Clock.h"
#include "app/core/Log.h"
#include "app/store/NoteStore.h"
#include "shared/bridge/BridgeRequest.h"
#include "shared/bridge/DataDirectory.h"
#include "shared/bridge/Socket.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace Dovrin::Agent {

using Bridge::BridgeResponse;

namespace {

std::optional<QString> inDirectory(const std::optional<QString>& directory, const char* name) {
    if (!directory)
        return std::nullopt;
    return *directory + QLatin1Char('/') + QString::fromLatin1(name);
}

// What a client is told when its call cannot get the tool's own answer.
const QString quitDescription = u"the app quit before the call finished. Try again."_s;
const QString droppedDescription = u"the call ended without an answer."_s;
const QString busyMessage = u"Dovrin is busy with too many calls at once. Try again in a few seconds."_s;

BridgeResponse errorResponse(const AgentError& error) {
    return BridgeResponse{ToolJson::errorText(error), {}, true};
}

QByteArray failedResponse(const QString& description) {
    return errorResponse(AgentError::failed(description)).encode();
}

} // namespace

// One connection's answer: the first one given is the one written; the connection's thread waits for it.
class AgentServer::Answer final {
public:
    void give(const QByteArray& bytes) {
        const std::lock_guard lock(m_mutex);
        if (m_bytes)
            return;
        m_bytes = bytes;
        m_given.notify_all();
    }
    QByteArray wait() {
        std::unique_lock lock(m_mutex);
        m_given.wait(lock, [this] { return m_bytes.has_value(); });
        return *m_bytes;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_given;
    std::optional<QByteArray> m_bytes;
};

// What the connection threads share with the server; it outlives the server while a thread still writes.
struct AgentServer::Connections {
    std::mutex mutex;
    std::condition_variable allServed;
    std::set<std::shared_ptr<Answer>> waiting;
    // Connections with a thread, counted from their accept to their thread's end.
    int open = 0;
    bool closed = false;
};

namespace {

// Gives the fallback answer when the last copy goes; an answer given before wins, so this is harmless
// after a real one.
class AnswerWhenDropped final {
public:
    explicit AnswerWhenDropped(std::shared_ptr<AgentServer::Answer> answer) : answer(std::move(answer)) {}
    AnswerWhenDropped(const AnswerWhenDropped&) = delete;
    AnswerWhenDropped& operator=(const AnswerWhenDropped&) = delete;
    ~AnswerWhenDropped() { answer->give(failedResponse(droppedDescription)); }

    const std::shared_ptr<AgentServer::Answer> answer;
};

} // namespace

// Reads one request, has the main thread answer it, and writes the answer back. Every request is answered
// once: by its tool, or, when the app quits or the call is lost on the way, with an error. Nothing here may
// throw: this thread is not the event loop's, and an exception would end the whole app.
void AgentServer::serveConnection(Bridge::Socket connection, QPointer<AgentServer> server,
                                  std::shared_ptr<Connections> connections) {
    const auto answer = std::make_shared<Answer>();
    {
        const std::lock_guard lock(connections->mutex);
        if (connections->closed)
            answer->give(failedResponse(quitDescription));
        connections->waiting.insert(answer);
    }
    try {
        const QByteArray request = Bridge::readUntilEndOfFile(connection.fd());
        const auto dropped = std::make_shared<AnswerWhenDropped>(answer);
        const bool posted = QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [server, request, dropped] {
                if (!server)
                    return;
                server->handle(request, [dropped](const BridgeResponse& response) {
                    dropped->answer->give(response.encode());
                });
            },
            Qt::QueuedConnection);
        if (!posted)
            answer->give(failedResponse(quitDescription));
        Bridge::writeAll(connection.fd(), answer->wait());
    } catch (...) {
        // Out of memory for the request or the answer: the connection closes unanswered.
    }
    const std::lock_guard lock(connections->mutex);
    connections->waiting.erase(answer);
    --connections->open;
    connections->allServed.notify_all();
}

AgentServer::AgentServer(StickyAccess& stickies, Store::NoteStore& store, Provenance& provenance,
                         Core::Clock& clock, std::optional<QString> dataDirectory, QObject* parent)
    : QObject(parent), m_store(store), m_provenance(provenance), m_clock(clock),
      m_activity(std::make_unique<AgentActivity>(stickies, store, provenance, clock,
                                                 inDirectory(dataDirectory, Bridge::settingsFileName))),
      m_tools(std::make_unique<AgentTools>(stickies, store, *m_activity, provenance, clock,
                                           inDirectory(dataDirectory, Bridge::imagesFolderName))),
      m_connections(std::make_shared<Connections>()) {
    seedLabels();
    m_store.onAgentLabelCleared = [this](const QUuid& id) {
        QMetaObject::invokeMethod(
            this,
            [this, id] {
                m_provenance.clear(id);
                m_activity->userEdited(id);
            },
            Qt::QueuedConnection);
    };
    if (!dataDirectory) {
        qCCritical(Core::agentLog, "agent bridge: no data directory");
        return;
    }
    startListening(*inDirectory(dataDirectory, Bridge::socketFileName));
}

AgentServer::AgentServer(StickyAccess& stickies, Store::NoteStore& store, QObject* parent)
    : AgentServer(stickies, store, Provenance::shared(), Core::Clock::system(), Bridge::dataDirectory(),
                  parent) {}

AgentServer::~AgentServer() {
    m_store.onAgentLabelCleared = nullptr;
    if (!m_listener.isValid())
        return;
    // Wakes the blocked accept; the accept thread then sees the flag and ends.
    m_stopping = true;
    ::shutdown(m_listener.fd(), SHUT_RDWR);
    m_acceptThread.join();
    // Calls still in flight are answered now, and their clients get the answer before the app ends.
    std::unique_lock lock(m_connections->mutex);
    m_connections->closed = true;
    for (const auto& answer : m_connections->waiting)
        answer->give(failedResponse(quitDescription));
    m_connections->allServed.wait_for(lock, std::chrono::milliseconds(answerOnQuitMs),
                                      [this] { return m_connections->waiting.empty(); });
}

void AgentServer::seedLabels() {
    const auto notes = m_store.list(Store::NoteStore::Scope::active);
    if (!notes) {
        Store::logStoreError(notes.error());
        return;
    }
    for (const Store::Note& note : *notes)
        if (note.agentLabel)
            m_provenance.note(note);
}

void AgentServer::startListening(const QString& socketPath) {
    ::unlink(QFile::encodeName(socketPath).constData());
    auto listener = Bridge::listenOnSocket(socketPath);
    if (!listener) {
        qCCritical(Core::agentLog, "agent bridge: can't listen at %s: errno %d", qUtf8Printable(socketPath),
                   listener.error().code);
        return;
    }
    qCInfo(Core::agentLog, "agent bridge listening at %s", qUtf8Printable(socketPath));
    m_listener = std::move(listener).value();
    m_acceptThread = std::thread([this] { acceptLoop(); });
}

void AgentServer::acceptLoop() {
    const QPointer<AgentServer> server(this);
    while (!m_stopping) {
        auto connection = Bridge::acceptConnection(m_listener.fd());
        if (!connection) {
            // Out of descriptors or memory: give the running connections a moment to finish.
            if (connection.error().code != EINTR && connection.error().code != ECONNABORTED)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        {
            const std::lock_guard lock(m_connections->mutex);
            if (m_connections->open >= maxConnections) {
                refuseBusy(*connection);
                continue;
            }
            ++m_connections->open;
        }
        const timeval idle{idleTimeoutSeconds, 0};
        ::setsockopt(connection->fd(), SOL_SOCKET, SO_RCVTIMEO, &idle, sizeof idle);
        ::setsockopt(connection->fd(), SOL_SOCKET, SO_SNDTIMEO, &idle, sizeof idle);
        try {
            std::thread(serveConnection, std::move(connection).value(), server, m_connections).detach();
        } catch (const std::system_error& error) {
            // No thread for it: the connection closes unanswered and the client reports no answer.
            qCWarning(Core::agentLog, "agent bridge: %s", error.what());
            const std::lock_guard lock(m_connections->mutex);
            --m_connections->open;
        }
    }
}

void AgentServer::refuseBusy(const Bridge::Socket& connection) {
    const QByteArray refusal =
        errorResponse(AgentError(Bridge::ErrorCode::unavailable, busyMessage)).encode();
    // A fresh connection's send buffer takes the short answer whole. What the client already sent is read
    // first: closing on unread bytes would reset the connection before the client reads the answer.
    ::send(connection.fd(), refusal.constData(), size_t(refusal.size()), MSG_DONTWAIT | MSG_NOSIGNAL);
    ::shutdown(connection.fd(), SHUT_WR);
    char discard[4096];
    while (::recv(connection.fd(), discard, sizeof discard, MSG_DONTWAIT) > 0) {
    }
}

void AgentServer::handle(const QByteArray& bytes, std::function<void(BridgeResponse)> done) {
    const auto request = Bridge::BridgeRequest::decode(bytes);
    if (!request) {
        qCWarning(Core::agentLog, "agent bridge: %s", qUtf8Printable(request.error()));
        return done(errorResponse(AgentError::failed(request.error())));
    }
    const QString agent = agentName(request->client);
    const auto fail = [agent, done](const AgentError& error) {
        if (error.failure)
            qCWarning(Core::agentLog, "agent bridge: %s", qUtf8Printable(*error.failure));
        else
            qCInfo(Core::agentLog, "agent %s: %s", qUtf8Printable(agent),
                   qUtf8Printable(Bridge::rawValue(error.code)));
        done(errorResponse(error));
    };
    const auto tool = toolNamed(request->tool);
    if (!tool)
        return fail({Bridge::ErrorCode::invalidArguments, u"Unknown tool %1."_s.arg(request->tool)});
    if (const auto refusal =
            m_gate.admit(agent, isWrite(*tool), m_activity->access(), m_clock.monotonicMs())) {
        if (refusal->denied)
            m_activity->denied(agent, refusal->deniedWrite);
        return fail(refusal->error);
    }
    m_activity->callStarted(agent);
    const QPointer<AgentServer> self(this);
    const auto finished = [self, agent, tool = *tool, fail, done](AgentResult<ToolOutput> result) {
        if (self)
            self->m_activity->callEnded(agent);
        if (!result)
            return fail(result.error());
        qCInfo(Core::agentLog, "agent %s %s: ok", qUtf8Printable(agent), qUtf8Printable(toolName(tool)));
        done(BridgeResponse{result->text, result->images, false});
    };
    // A tool whose answer was lost on the way (a fault) still answers, and still ends its call.
    m_tools->run(*tool, request->arguments, agent, Completion<AgentResult<ToolOutput>>(finished, [finished] {
        runLater([finished] { finished(AgentError::failed(droppedDescription)); });
    }));
}

} // namespace Dovrin::Agent
