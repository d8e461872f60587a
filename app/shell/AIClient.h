#pragma once

#include <QLatin1String>
#include <QList>
#include <QString>

// The AI clients on Linux that can start dovrin-mcp, where each keeps the servers it starts, and what a user
// copies into it.
namespace Dovrin::Shell {

// The name Dovrin's server is registered under in every client.
inline constexpr QLatin1String mcpServerName("dovrin");

enum class ConfigFormat { json, toml };

struct AIClient {
    // Stable, for object names and logs ("claude-code").
    QString id;
    // The product's own name; never translated.
    QString name;
    // The user-wide file the client reads its MCP servers from.
    QString configFile;
    ConfigFormat format = ConfigFormat::json;
    // JSON: the top-level member that lists the servers.
    QString serversKey;
    // The entry says "type": "stdio".
    bool namesTransport = false;
    // The client's own command line is the documented way to register a server.
    bool registersByCommand = false;
};

// In the order the window lists them; Claude Desktop only where it is installed (its configuration folder
// exists). Paths follow the environment of the moment: HOME, XDG_CONFIG_HOME for the clients that honour it,
// CODEX_HOME for Codex.
QList<AIClient> aiClients();

// What registers `mcpPath` with the client: its command line, or the content of its configuration file.
QString setupSnippet(const AIClient& client, const QString& mcpPath);

} // namespace Dovrin::Shell
