// A stand-in for the Dovrin app in tests: it listens on the socket it is given and answers every bridge
// request with the request's own bytes as text, so a test can see what arrived. It ends by itself after
// a minute in case a test could not stop it.
#include "shared/bridge/BridgeResponse.h"
#include "shared/bridge/Socket.h"

#include <QString>

#include <chrono>
#include <csignal>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    std::signal(SIGPIPE, SIG_IGN);
    const QString path = QString::fromLocal8Bit(argv[1]);
    ::unlink(argv[1]);
    auto listener = Dovrin::Bridge::listenOnSocket(path);
    if (!listener)
        return 1;
    std::thread([] {
        std::this_thread::sleep_for(std::chrono::minutes(1));
        std::_Exit(0);
    }).detach();
    for (;;) {
        auto connection = Dovrin::Bridge::acceptConnection(listener->fd());
        if (!connection)
            continue;
        const QByteArray request = Dovrin::Bridge::readUntilEndOfFile(connection->fd());
        const Dovrin::Bridge::BridgeResponse response{QString::fromUtf8(request), {}, false};
        Dovrin::Bridge::writeAll(connection->fd(), response.encode());
    }
}
