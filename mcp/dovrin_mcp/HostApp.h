#pragma once

#include "app/core/Result.h"
#include "mcp/dovrin_mcp/Launcher.h"
#include "mcp/dovrin_mcp/Unavailable.h"
#include "shared/bridge/BridgeResponse.h"
#include "shared/bridge/ClientInfo.h"

#include <QJsonObject>
#include <QString>
#include <optional>

namespace Dovrin::Mcp {

// The client end of the bridge: one tool call, one connection to the app's socket.
class HostApp final {
public:
    using Unavailable = Mcp::Unavailable;

    // Blocks until the app answered, starting it first when it is not running and the user lets AI
    // clients open it.
    Result<Bridge::BridgeResponse, Unavailable>
    call(const QString& tool, const std::optional<Bridge::ClientInfo>& client, const QJsonObject& arguments);

private:
    Launcher m_launcher;
};

} // namespace Dovrin::Mcp
