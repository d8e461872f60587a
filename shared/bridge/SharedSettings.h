#pragma once

#include "app/core/Result.h"
#include "shared/bridge/AIAccess.h"

#include <QDateTime>
#include <QMap>
#include <QString>

namespace Dovrin::Bridge {

// The settings both programs share, kept in "settings.json" in the data directory.
struct SharedSettings final {
    AIAccess aiAccess = AIAccess::readWrite;
    // Agent name -> when it last used the notes.
    QMap<QString, QDateTime> connectedAIs;
    bool letAIOpenDovrin = true;

    // A missing or unreadable file, or a data directory that is unavailable, reads as the defaults; so
    // does each key that is missing or has the wrong type (an unknown access level included).
    static SharedSettings read();
    static SharedSettings readFile(const QString& path);

    // Replaces the file whole (temporary file, then rename); keys this type does not know are kept.
    Result<void, QString> write() const;
    Result<void, QString> writeFile(const QString& path) const;
};

} // namespace Dovrin::Bridge
