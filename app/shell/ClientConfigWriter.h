#pragma once

#include "app/core/Result.h"
#include "app/shell/AIClient.h"

#include <QString>

// Reads and writes Dovrin's entry in an AI client's own configuration file.
namespace Dovrin::Shell {

enum class ClientState {
    // The client's configuration file does not exist: the user copies the snippet.
    noConfigFile,
    // The file has no entry for Dovrin yet.
    notSetUp,
    // The entry starts this dovrin-mcp.
    connected,
    // The entry starts some other program.
    otherServer,
    // The file cannot be read, or holds content that an edit could not keep exactly.
    cannotEdit,
};

ClientState clientState(const AIClient& client, const QString& mcpPath);

struct AddError {
    enum class Kind {
        // The content is not one an edit can keep exactly; the file is untouched.
        cannotEdit,
        unreadable,
        // The copy of the old file could not be saved; the file is untouched.
        backupFailed,
        writeFailed,
    };
    Kind kind = Kind::writeFailed;
    // Why, for the log and the user: the system's message, or what the file holds that stops the edit.
    QString detail;
};

// Where the copy of a file goes before Dovrin changes it; a later change replaces an older copy.
QString backupPath(const AIClient& client);

// Puts Dovrin's entry (starting `mcpPath`) into the client's existing configuration file: first a copy of
// the file at backupPath(), then the new content, saved atomically with the file's permissions.
Result<void, AddError> addToClient(const AIClient& client, const QString& mcpPath);

} // namespace Dovrin::Shell
