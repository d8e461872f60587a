#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace Dovrin::Shell {

// What a start of dovrin asks for: the dovrin:// links to open and whether it came without the user (as
// dovrin-mcp and the login item start it). A second start hands this to the running instance.
struct LaunchRequest final {
    QList<QUrl> urls;
    bool background = false;

    // From a command line (the program's name first). Anything but dovrin:// links and --background is
    // ignored with a warning.
    static LaunchRequest fromArguments(const QStringList& arguments);

    // One JSON line, the form it travels in between two instances.
    QByteArray toLine() const;
    // Nothing for a line that is not a request of this version; links of other schemes are dropped.
    static std::optional<LaunchRequest> fromLine(const QByteArray& line);
};

inline constexpr const char* backgroundArgument = "--background";

// True for an argument naming a dovrin:// link.
bool isDovrinLink(const QString& argument);

} // namespace Dovrin::Shell
