#pragma once

#include "shared/bridge/ClientInfo.h"

#include <QString>

#include <optional>

namespace Dovrin::Agent {

// The display name of the calling AI: "Claude", "Codex", "ChatGPT", "Cursor", else the client's title,
// else "AI". Rate limits, activity records, toasts and labels all go by it.
QString agentName(const std::optional<Bridge::ClientInfo>& client);

} // namespace Dovrin::Agent
