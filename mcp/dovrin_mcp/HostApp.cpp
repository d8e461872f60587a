#include "mcp/dovrin_mcp/HostApp.h"

#include "shared/bridge/BridgeRequest.h"
#include "shared/bridge/DataDirectory.h"
#include "shared/bridge/SharedSettings.h"
#include "shared/bridge/Socket.h"

#include <cerrno>
#include <chrono>
#include <thread>

namespace Dovrin::Mcp {

namespace {

constexpr int connectAttemptsAfterLaunch = 100;
constexpr auto connectAttemptInterval = std::chrono::milliseconds(100);

} // namespace

Result<Bridge::BridgeResponse, Unavailable> HostApp::call(const QString& tool,
                                                          const std::optional<Bridge::ClientInfo>& client,
                                                          const QJsonObject& arguments) {
    const auto path = Bridge::dataFile(QString::fromLatin1(Bridge::socketFileName));
    if (!path)
        return Unavailable::noDataDirectory();

    auto socket = Bridge::connectToSocket(*path);
    if (!socket) {
        const int code = socket.error().code;
        if (code != ENOENT && code != ECONNREFUSED)
            return Unavailable::cannotReach(*path, socket.error().description());
        if (!Bridge::SharedSettings::read().letAIOpenDovrin)
            return Unavailable::notRunning();
        if (const auto launched = m_launcher.launch(); !launched)
            return launched.error();
        for (int attempt = 0; attempt < connectAttemptsAfterLaunch && !socket; ++attempt) {
            std::this_thread::sleep_for(connectAttemptInterval);
            socket = Bridge::connectToSocket(*path);
        }
        if (!socket)
            return Unavailable::openedButSilent();
    }

    const int fd = socket->fd();
    if (!Bridge::writeAll(fd, Bridge::BridgeRequest{tool, client, arguments}.encode()))
        return Unavailable::closedBeforeReading();
    Bridge::shutdownWriting(fd);
    const QByteArray answer = Bridge::readUntilEndOfFile(fd);
    socket.value().close();
    auto response = Bridge::BridgeResponse::decode(answer);
    if (!response)
        return Unavailable::noAnswer();
    return std::move(response).value();
}

} // namespace Dovrin::Mcp
