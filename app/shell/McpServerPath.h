#pragma once

#include <QString>

namespace Dovrin::Shell {

// The dovrin-mcp that AI clients should start: the one installed next to the running dovrin. $DOVRIN_MCP
// names another one, for tests and previews, which run from folders that have none beside them.
QString dovrinMcpPath();

// Whether the file is there and may be run.
bool isRunnableFile(const QString& path);

} // namespace Dovrin::Shell
