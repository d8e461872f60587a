#include "AgentServer.h"

#include "AgentName.h"
#include "BridgeRequest.h"
#include "Clock.h"
#include "DataDirectory.h"
#include "Log.h"
#include "NoteStore.h"
#include "Provenance.h"
#include "Socket.h"
#include "StickyAccess.h"
#include "ToolJson.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>

#include <cerrno>
#include <chrono>
#include <future>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace Dovrin::Agent {

using Bridge::BridgeResponse;

namespace {

std::optional<QString> inDirectory(const std::optional<QString>& directory, const char* name) {
    if (!directory)
        return std::nullopt;
    return *directory + QLatin1Char('/') + QString::fromLatin1(name);
}

BridgeResponse errorResponse(const AgentError& error) {
    return BridgeResponse{ToolJson::errorText(error), {}, true};
}

// Reads one request, has the main thread answer it, and writes the answer back. A server that is gone
// by then leaves the request unanswered; the connection is closed either way.
void serveConnection(Bridge::Socket connection, QPointer<AgentServer> server) {
    const QByteArray request = Bridge::readUntilEndOfFile(connection.fd());
    auto answer = std::make_shared<std::promise<QByteArray>>();
    std::future<QByteArray> response = answer->get_future();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [server, request, answer] {
            if (!server)
                return answer->set_value({});
            server->handle(
                request, [answer](const BridgeResponse& response) { answer->set_value(response.encode()); });
        },
        Qt::QueuedConnection);
    const QByteArray bytes = response.get();
    if (!bytes.isEmpty())
        Bridge::writeAll(connection.fd(), bytes);
}

} // namespace

AgentServer::AgentServer(StickyAccess& stickies, Provenance& provenance, Clock& clock,
                         std::optional<QString> dataDirectory, QObject* parent)
    : QObject(parent), m_stickies(stickies), m_provenance(provenance), m_clock(clock),
      m_activity(std::make_unique<AgentActivity>(stickies, provenance, clock,
                                                 inDirectory(dataDirectory, Bridge::settingsFileName))),
      m_tools(std::make_unique<AgentTools>(stickies, *m_activity, provenance, clock,
                                           inDirectory(dataDirectory, Bridge::imagesFolderName))) {
    seedLabels();
    m_stickies.store().onAgentLabelCleared = [this](const QUuid& id) {
        QMetaObject::invokeMethod(
            this,
            [this, id] {
                m_provenance.clear(id);
                m_activity->userEdited(id);
            },
            Qt::QueuedConnection);
    };
    if (!dataDirectory) {
        qCCritical(dovrinLog, "agent bridge: no App Group container");
        return;
    }
    startListening(*inDirectory(dataDirectory, Bridge::socketFileName));
}

AgentServer::AgentServer(StickyAccess& stickies, QObject* parent)
    : AgentServer(stickies, Provenance::shared(), Clock::system(), Bridge::dataDirectory(), parent) {}

AgentServer::~AgentServer() {
    m_stickies.store().onAgentLabelCleared = nullptr;
    if (m_listener.isValid()) {
        // Wakes the blocked accept; the accept thread then sees the flag and ends.
        m_stopping = true;
        ::shutdown(m_listener.fd(), SHUT_RDWR);
        m_acceptThread.join();
    }
}

void AgentServer::seedLabels() {
    const auto notes = m_stickies.store().list(Store::NoteStore::Scope::active);
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
        qCCritical(dovrinLog, "agent bridge: can't listen at %s: errno %d", qUtf8Printable(socketPath),
                   listener.error().code);
        return;
    }
    qCInfo(dovrinLog, "agent bridge listening at %s", qUtf8Printable(socketPath));
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
        try {
            std::thread(serveConnection, std::move(connection).value(), server).detach();
        } catch (const std::system_error& error) {
            // No thread for it: the connection closes unanswered and the client reports no answer.
            qCWarning(dovrinLog, "agent bridge: %s", error.what());
        }
    }
}

void AgentServer::handle(const QByteArray& bytes, std::function<void(BridgeResponse)> done) {
    const auto request = Bridge::BridgeRequest::decode(bytes);
    if (!request) {
        qCWarning(dovrinLog, "agent bridge: %s", qUtf8Printable(request.error()));
        return done(errorResponse(
            {Bridge::ErrorCode::unavailable, QStringLiteral("Dovrin failed: ") + request.error()}));
    }
    const QString agent = agentName(request->client);
    const auto fail = [agent, done](const AgentError& error) {
        qCInfo(dovrinLog, "agent %s: %s", qUtf8Printable(agent),
               qUtf8Printable(Bridge::rawValue(error.code)));
        done(errorResponse(error));
    };
    const auto tool = toolNamed(request->tool);
    if (!tool)
        return fail(
            {Bridge::ErrorCode::invalidArguments, QStringLiteral("Unknown tool %1.").arg(request->tool)});
    if (const auto refusal =
            m_gate.admit(agent, isWrite(*tool), m_activity->access(), m_clock.monotonicMs())) {
        if (refusal->denied)
            m_activity->denied(agent, refusal->deniedWrite);
        return fail(refusal->error);
    }
    m_activity->callStarted(agent);
    const QPointer<AgentServer> self(this);
    m_tools->run(*tool, request->arguments, agent,
                 [self, agent, tool = *tool, fail, done](AgentResult<ToolOutput> result) {
                     if (self)
                         self->m_activity->callEnded(agent);
                     if (!result)
                         return fail(result.error());
                     qCInfo(dovrinLog, "agent %s %s: ok", qUtf8Printable(agent),
                            qUtf8Printable(toolName(tool)));
                     done(BridgeResponse{result->text, result->images, false});
                 });
}

} // namespace Dovrin::Agent
