#include "app/shell/TomlConfigEdit.h"

#include "app/shell/AIClient.h"
#include "app/shell/TomlStatements.h"

using namespace Qt::StringLiterals;

namespace Dovrin::Shell::TomlConfigEdit {

namespace {

using TomlStatements::Statement;

const QString serversTable = u"mcp_servers"_s;

bool isEntryPath(const QStringList& path) {
    return path.size() >= 2 && path[0] == serversTable && path[1] == mcpServerName;
}

// Where Dovrin's tables are: the bytes from the first of their statements to the end of the last one
// (comments and blank lines after that belong to what follows).
struct EntryLines {
    qsizetype start = -1;
    qsizetype end = -1;
    std::optional<QByteArrayView> command;
};

Result<EntryLines, QString> findEntry(QByteArrayView text) {
    auto statements = TomlStatements::statements(text);
    if (!statements)
        return statements.error();
    EntryLines found;
    QStringList table;
    bool inEntry = false;
    bool entryEnded = false;
    for (const Statement& statement : *statements) {
        if (statement.kind == Statement::Kind::keyValue) {
            if (table.isEmpty() && statement.path.first() == serversTable)
                return u"mcp_servers is set by a key, not by tables"_s;
            if (!inEntry && isEntryPath(table + statement.path))
                return u"the dovrin server is set by a key, not by a table"_s;
            if (inEntry && table.size() == 2 && statement.path == QStringList{u"command"_s})
                found.command = text.sliced(statement.valueStart, statement.valueEnd - statement.valueStart);
        } else {
            table = statement.path;
            const bool entryTable = isEntryPath(table);
            if (statement.kind == Statement::Kind::arrayOfTables &&
                (entryTable || table == QStringList{serversTable}))
                return u"the servers are an array of tables"_s;
            if (entryTable && entryEnded)
                return u"the dovrin server's tables are not in one piece"_s;
            entryEnded = entryEnded || (inEntry && !entryTable);
            inEntry = entryTable;
        }
        if (inEntry) {
            if (found.start < 0)
                found.start = statement.start;
            found.end = statement.end;
        }
    }
    return found;
}

QByteArray quoted(const QString& text) {
    QByteArray out = "\"";
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out += '\\' + QByteArray(1, c);
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (byte < 0x20 || byte == 0x7F)
            out += "\\u00" + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
        else
            out += c;
    }
    return out + '"';
}

bool isWhiteSpace(QByteArrayView text) {
    for (const char c : text)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            return false;
    return true;
}

} // namespace

Result<std::optional<QString>, QString> registeredCommand(QByteArrayView text) {
    auto found = findEntry(text);
    if (!found)
        return found.error();
    if (found->start < 0)
        return std::optional<QString>();
    return std::optional(found->command ? TomlStatements::stringValue(*found->command).value_or(QString())
                                        : QString());
}

Result<QByteArray, QString> withEntry(QByteArrayView text, const QString& command) {
    auto found = findEntry(text);
    if (!found)
        return found.error();
    const QByteArray lineBreak = text.contains("\r\n") ? "\r\n"_ba : "\n"_ba;
    const QByteArray table = "[mcp_servers." + QByteArray(mcpServerName.latin1()) + ']' + lineBreak +
                             "command = " + quoted(command) + lineBreak;
    QByteArray out = text.toByteArray();
    if (found->start >= 0)
        return out.replace(found->start, found->end - found->start, table);
    if (!out.isEmpty() && !out.endsWith('\n'))
        out += lineBreak;
    if (!isWhiteSpace(out) && !out.endsWith(lineBreak + lineBreak))
        out += lineBreak;
    return out + table;
}

} // namespace Dovrin::Shell::TomlConfigEdit
