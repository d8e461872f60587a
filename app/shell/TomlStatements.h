#pragma once

#include "app/core/Result.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// The statements of a TOML file (table headers and key/value pairs) with their byte ranges, so that one
// table can be replaced or appended while every other byte stays as its owner wrote it. Values are skipped
// by their shape only (strings, arrays, inline tables, the rest up to the end of the line): enough to know
// exactly where each statement begins and ends, which is all an edit needs.
namespace Dovrin::Shell::TomlStatements {

struct Statement {
    enum class Kind { table, arrayOfTables, keyValue };
    Kind kind = Kind::keyValue;
    // The header's key path, or the key's path below its table; quoted parts are decoded.
    QStringList path;
    // The start of the statement's line, and one past the line break that ends it (or the text's end).
    qsizetype start = 0;
    qsizetype end = 0;
    // A key/value pair's value.
    qsizetype valueStart = 0;
    qsizetype valueEnd = 0;
};

// Every statement in order; an error, saying what and where, for anything it cannot delimit exactly.
Result<QList<Statement>, QString> statements(QByteArrayView text);

// The text of a string value: a basic string with its escapes decoded, or a literal string as written.
// Nullopt for any other value.
std::optional<QString> stringValue(QByteArrayView value);

} // namespace Dovrin::Shell::TomlStatements
