#include "app/shell/AIClient.h"

#include "app/shell/JsonConfigEdit.h"
#include "app/shell/TomlConfigEdit.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

// $XDG_CONFIG_HOME when it is an absolute path (a relative one is to be ignored), else ~/.config.
QString configHome() {
    const QString fromEnvironment = qEnvironmentVariable("XDG_CONFIG_HOME");
    return QDir::isAbsolutePath(fromEnvironment) ? fromEnvironment : QDir::homePath() + u"/.config"_s;
}

QString codexHome() {
    const QString fromEnvironment = qEnvironmentVariable("CODEX_HOME");
    return fromEnvironment.isEmpty() ? QDir::homePath() + u"/.codex"_s : fromEnvironment;
}

// A word the shell takes as it is, or the text in single quotes.
QString shellWord(const QString& text) {
    static const QRegularExpression plain(u"^[A-Za-z0-9_@%+=:,./-]+$"_s);
    if (plain.match(text).hasMatch())
        return text;
    return u'\'' + QString(text).replace(u"'"_s, u"'\\''"_s) + u'\'';
}

AIClient jsonClient(const QString& id, const QString& name, const QString& configFile,
                    const QString& serversKey) {
    AIClient client;
    client.id = id;
    client.name = name;
    client.configFile = configFile;
    client.serversKey = serversKey;
    return client;
}

} // namespace

QList<AIClient> aiClients() {
    const QString home = QDir::homePath();
    const QString config = configHome();
    QList<AIClient> clients;
    // `claude mcp add --scope user` keeps user-wide servers in the top-level "mcpServers" of ~/.claude.json.
    clients.append(
        jsonClient(u"claude-code"_s, u"Claude Code"_s, home + u"/.claude.json"_s, u"mcpServers"_s));
    clients.last().namesTransport = true;
    clients.last().registersByCommand = true;
    // Claude Desktop's Linux builds are Electron apps: their folder follows XDG_CONFIG_HOME.
    if (QFileInfo(config + u"/Claude"_s).isDir())
        clients.append(jsonClient(u"claude-desktop"_s, u"Claude Desktop"_s,
                                  config + u"/Claude/claude_desktop_config.json"_s, u"mcpServers"_s));
    AIClient codex;
    codex.id = u"codex"_s;
    codex.name = u"Codex CLI"_s;
    codex.configFile = codexHome() + u"/config.toml"_s;
    codex.format = ConfigFormat::toml;
    clients.append(codex);
    clients.append(jsonClient(u"cursor"_s, u"Cursor"_s, home + u"/.cursor/mcp.json"_s, u"mcpServers"_s));
    // VS Code's user profile holds mcp.json, with the servers under "servers" and their transport named.
    clients.append(jsonClient(u"vscode"_s, u"VS Code"_s, config + u"/Code/User/mcp.json"_s, u"servers"_s));
    clients.last().namesTransport = true;
    clients.append(
        jsonClient(u"gemini"_s, u"Gemini CLI"_s, home + u"/.gemini/settings.json"_s, u"mcpServers"_s));
    clients.append(jsonClient(u"zed"_s, u"Zed"_s, config + u"/zed/settings.json"_s, u"context_servers"_s));
    return clients;
}

QString setupSnippet(const AIClient& client, const QString& mcpPath) {
    if (client.registersByCommand)
        return u"claude mcp add --scope user %1 -- %2"_s.arg(mcpServerName, shellWord(mcpPath));
    // The edits of an empty file give the file a user without one would write.
    const QByteArray snippet =
        client.format == ConfigFormat::toml
            ? TomlConfigEdit::withEntry({}, mcpPath).value()
            : JsonConfigEdit::withEntry({}, client.serversKey, {mcpPath, client.namesTransport}).value();
    return QString::fromUtf8(snippet).trimmed();
}

} // namespace Dovrin::Shell
