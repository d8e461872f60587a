#include "mcp/dovrin_mcp/HostApp.h"
#include "mcp/dovrin_mcp/MCPServer.h"

#include <csignal>
#include <unistd.h>

// dovrin-mcp: the MCP server an AI client starts; it forwards tool calls to the running Dovrin app.
int main() {
    // A closed socket or a client that went away must end one write, not the program.
    std::signal(SIGPIPE, SIG_IGN);
    Dovrin::Mcp::HostApp hostApp;
    Dovrin::Mcp::MCPServer server(
        [&hostApp](const QString& tool, const std::optional<Dovrin::Bridge::ClientInfo>& client,
                   const QJsonObject& arguments) { return hostApp.call(tool, client, arguments); });
    return server.run(STDIN_FILENO, STDOUT_FILENO);
}
