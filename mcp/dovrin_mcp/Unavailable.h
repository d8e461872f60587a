#pragma once

#include <QString>

namespace Dovrin::Mcp {

// Every way the app cannot be reached ends as one of these; the message is what the AI shows the user.
struct Unavailable final {
    QString message;

    static Unavailable noDataDirectory();
    static Unavailable notRunning();
    static Unavailable couldNotOpen(const QString& description);
    static Unavailable openedButSilent();
    static Unavailable cannotReach(const QString& path, const QString& description);
    static Unavailable closedBeforeReading();
    static Unavailable noAnswer();
};

} // namespace Dovrin::Mcp
