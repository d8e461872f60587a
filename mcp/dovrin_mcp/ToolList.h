#pragma once

#include <QJsonArray>
#include <QString>

namespace Dovrin::Mcp {

// The six tools as MCP describes them to AI clients, in the order they are listed.
QJsonArray toolList();

bool isToolName(const QString& name);

} // namespace Dovrin::Mcp
