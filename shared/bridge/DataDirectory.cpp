#include "shared/bridge/DataDirectory.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace Dovrin::Bridge {

namespace {

QString configuredPath() {
    const QString home = qEnvironmentVariable("DOVRIN_HOME");
    if (!home.isEmpty())
        return home;
    // A test binary run by hand, outside CTest, must not reach the user's notes.
    if (QStandardPaths::isTestModeEnabled())
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/dovrin"_s;
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome)) {
        const QString userHome = qEnvironmentVariable("HOME");
        if (userHome.isEmpty())
            return {};
        dataHome = userHome + u"/.local/share"_s;
    }
    return dataHome + u"/dovrin"_s;
}

} // namespace

std::optional<QString> dataDirectory() {
    const QString path = QDir::cleanPath(configuredPath());
    if (path.isEmpty() || path == u"."_s)
        return std::nullopt;
    const QFileInfo info(path);
    if (info.isDir())
        return path;
    if (info.exists())
        return std::nullopt;
    // Parents are made with the usual permissions; only the data folder itself is private.
    const QString parent = info.absolutePath();
    if (!QDir().mkpath(parent))
        return std::nullopt;
    if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0 && errno != EEXIST)
        return std::nullopt;
    return QFileInfo(path).isDir() ? std::optional<QString>(path) : std::nullopt;
}

std::optional<QString> dataFile(const QString& name) {
    const auto directory = dataDirectory();
    if (!directory)
        return std::nullopt;
    return *directory + QLatin1Char('/') + name;
}

} // namespace Dovrin::Bridge
