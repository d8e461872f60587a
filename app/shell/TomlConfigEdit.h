#pragma once

#include "app/core/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Dovrin's entry in Codex's config.toml: the table [mcp_servers.dovrin] (with any sub-tables of it). Edits
// replace that table's lines or append it at the end, and leave every other byte of the file alone.
namespace Dovrin::Shell::TomlConfigEdit {

// The command of the [mcp_servers.dovrin] table: nullopt without one, an empty text when it names no
// command as a one-line string. An error when the file cannot be read exactly, or defines the servers in a
// way that an added table would clash with (an inline `mcp_servers = {…}`, dotted keys for it or for
// Dovrin's entry, an array of tables).
Result<std::optional<QString>, QString> registeredCommand(QByteArrayView text);

// The text with [mcp_servers.dovrin] starting `command`: the old table's lines replaced, or the table
// appended after a blank line.
Result<QByteArray, QString> withEntry(QByteArrayView text, const QString& command);

} // namespace Dovrin::Shell::TomlConfigEdit
