#pragma once

#include "app/core/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Dovrin's entry in an AI client's JSON configuration: the "dovrin" member of the object that lists the
// client's MCP servers ("mcpServers", "servers" or "context_servers" at the top level). Edits touch that one
// member and leave every other byte of the file alone.
namespace Dovrin::Shell::JsonConfigEdit {

struct Entry {
    QString command;
    // Clients that want the transport named get "type": "stdio" first.
    bool namesTransport = false;
};

// The command of the "dovrin" entry: nullopt without one, an empty text when it names no command. An error
// when the text is not plain JSON or is shaped so that an edit could not be exact.
Result<std::optional<QString>, QString> registeredCommand(QByteArrayView text, const QString& serversKey);

// The text with the entry in place: an existing "dovrin" entry gets the new value, otherwise the entry is
// added as the last server (and the servers object as the last top-level member when there is none). New
// lines follow the file's indentation and line breaks; a one-line file stays on one line. A text of nothing
// but white space counts as an empty object.
Result<QByteArray, QString> withEntry(QByteArrayView text, const QString& serversKey, const Entry& entry);

} // namespace Dovrin::Shell::JsonConfigEdit
