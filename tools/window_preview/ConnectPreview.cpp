// The Connect your AI window in a home of its own where Claude Code is connected already, Claude Desktop and
// Cursor have configuration files to add Dovrin to, and the other clients have none, in the light and the
// dark appearance.

#include "app/shell/ConnectWindow.h"
#include "tools/window_preview/Preview.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace Dovrin::Preview {

namespace {

bool write(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

bool connectWindow(const QDir& folder) {
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(u".config"_s)));
    qunsetenv("CODEX_HOME");
    // The dovrin-mcp of this build tree; the preview itself is not installed beside one.
    if (qEnvironmentVariableIsEmpty("DOVRIN_MCP"))
        qputenv("DOVRIN_MCP", QFile::encodeName(QDir::cleanPath(QApplication::applicationDirPath() +
                                                                u"/../../bin/dovrin-mcp"_s)));
    const QByteArray mcp = QDir::cleanPath(qEnvironmentVariable("DOVRIN_MCP")).toUtf8();
    const bool written = write(home.filePath(u".claude.json"_s), R"({
  "numStartups": 12,
  "mcpServers": {
    "dovrin": {
      "type": "stdio",
      "command": ")" + mcp + R"(",
      "args": []
    }
  }
}
)") && write(home.filePath(u".config/Claude/claude_desktop_config.json"_s), "{}\n") &&
                         write(home.filePath(u".cursor/mcp.json"_s), "{\n  \"mcpServers\": {}\n}\n");
    if (!written) {
        QTextStream(stderr) << "cannot write the sample configuration files\n";
        return false;
    }

    Shell::ConnectWindow window;
    return captureLightAndDark(
        window, [&] { window.showWindow(); }, folder, u"connect"_s);
}

const Registration registration(u"connect"_s, connectWindow);

} // namespace

} // namespace Dovrin::Preview
