#include "tests/mcp/BridgeTestServer.h"

#include <sys/socket.h>

BridgeTestServer::BridgeTestServer(const QString& socketPath, Reply reply) : m_reply(std::move(reply)) {
    if (auto listener = Dovrin::Bridge::listenOnSocket(socketPath))
        m_listener = std::move(listener).value();
    if (m_listener.isValid())
        m_acceptThread = std::thread([this] { serve(); });
}

BridgeTestServer::~BridgeTestServer() {
    if (m_listener.isValid())
        ::shutdown(m_listener.fd(), SHUT_RDWR);
    if (m_acceptThread.joinable())
        m_acceptThread.join();
    for (std::thread& thread : m_threads)
        thread.join();
}

QList<QByteArray> BridgeTestServer::requests() {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void BridgeTestServer::serve() {
    for (;;) {
        auto connection = Dovrin::Bridge::acceptConnection(m_listener.fd());
        if (!connection)
            return;
        std::lock_guard lock(m_mutex);
        m_threads.emplace_back([this, socket = std::move(connection).value()]() mutable {
            const QByteArray request = Dovrin::Bridge::readUntilEndOfFile(socket.fd());
            std::optional<QByteArray> answer = m_reply(request);
            std::lock_guard lock(m_mutex);
            m_requests.append(request);
            if (answer)
                Dovrin::Bridge::writeAll(socket.fd(), *answer);
            else
                m_heldConnections.push_back(std::move(socket));
        });
    }
}
