#pragma once

#include "shared/bridge/Socket.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// The app's end of the bridge for tests: answers each connection on its own thread with `reply`, or holds
// it open without answering when `reply` gives nothing.
class BridgeTestServer final {
public:
    using Reply = std::function<std::optional<QByteArray>(const QByteArray& request)>;

    BridgeTestServer(const QString& socketPath, Reply reply);
    ~BridgeTestServer();

    QList<QByteArray> requests();

private:
    void serve();

    Reply m_reply;
    Dovrin::Bridge::Socket m_listener;
    std::mutex m_mutex;
    QList<QByteArray> m_requests;
    std::vector<Dovrin::Bridge::Socket> m_heldConnections;
    std::vector<std::thread> m_threads;
    std::thread m_acceptThread;
};
