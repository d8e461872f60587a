#include "app/shell/McpServerPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

QString dovrinMcpPath() {
    const QString chosen = qEnvironmentVariable("DOVRIN_MCP");
    if (!chosen.isEmpty())
        return QDir::cleanPath(QDir::current().absoluteFilePath(chosen));
    return QCoreApplication::applicationDirPath() + u"/dovrin-mcp"_s;
}

bool isRunnableFile(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

} // namespace Dovrin::Shell
