#include "app/shell/JsonConfigEdit.h"

#include "app/shell/AIClient.h"
#include "app/shell/JsonMembers.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <functional>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell::JsonConfigEdit {

namespace {

using JsonMembers::Member;
using JsonMembers::Object;

// How new lines are laid out: the file's own line break and indentation step.
struct Layout {
    QByteArray lineBreak;
    QByteArray unit;
};

// Lays out a value for a member whose line starts with `indent`; multi-line or on one line.
using ValueText = std::function<QByteArray(const QByteArray& indent, bool multiline)>;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

qsizetype lineStart(QByteArrayView text, qsizetype pos) {
    while (pos > 0 && text[pos - 1] != '\n')
        --pos;
    return pos;
}

// The spaces and tabs that begin the line holding `pos`.
QByteArray lineIndent(QByteArrayView text, qsizetype pos) {
    qsizetype end = lineStart(text, pos);
    const qsizetype start = end;
    while (end < text.size() && isBlank(text[end]))
        ++end;
    return text.sliced(start, end - start).toByteArray();
}

// Whether `pos` is the first thing on its line.
bool beginsLine(QByteArrayView text, qsizetype pos) {
    for (qsizetype i = lineStart(text, pos); i < pos; ++i)
        if (!isBlank(text[i]))
            return false;
    return true;
}

bool spansLines(QByteArrayView text, const Object& object) {
    return text.sliced(object.open, object.close - object.open).contains('\n');
}

// The indentation step of a file whose top-level object is `top`: that of its first member when the member
// begins a line, else two spaces.
QByteArray indentUnit(QByteArrayView text, const Object& top) {
    if (!top.members.isEmpty() && beginsLine(text, top.members.first().keyStart)) {
        const QByteArray base = lineIndent(text, top.open);
        const QByteArray first = lineIndent(text, top.members.first().keyStart);
        if (first.size() > base.size() && first.startsWith(base))
            return first.sliced(base.size());
    }
    return "  "_ba;
}

QByteArray quoted(const QString& text) {
    QByteArray out = "\"";
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out += "\\u00" + QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
            else
                out += c;
        }
    }
    return out + '"';
}

QByteArray entryValue(const Entry& entry, const Layout& layout, const QByteArray& indent, bool multiline) {
    QList<QByteArray> fields;
    if (entry.namesTransport)
        fields.append(R"("type": "stdio")"_ba);
    fields.append("\"command\": " + quoted(entry.command));
    fields.append(R"("args": [])"_ba);
    if (!multiline)
        return '{' + fields.join(", ") + '}';
    const QByteArray inner = layout.lineBreak + indent + layout.unit;
    return '{' + inner + fields.join(',' + inner) + layout.lineBreak + indent + '}';
}

// The text with `"key": value` added as the last member of `object`.
QByteArray withMember(QByteArrayView text, const Object& object, bool multiline, const Layout& layout,
                      const QString& key, const ValueText& value) {
    QByteArray out = text.toByteArray();
    const QByteArray name = quoted(key) + ": ";
    if (!multiline) {
        if (object.members.isEmpty())
            return out.insert(object.open + 1, name + value({}, false));
        return out.insert(object.members.last().valueEnd, ", " + name + value({}, false));
    }
    const QByteArray outer = lineIndent(text, object.open);
    if (object.members.isEmpty()) {
        const QByteArray indent = outer + layout.unit;
        return out.replace(object.open + 1, object.close - object.open - 1,
                           layout.lineBreak + indent + name + value(indent, true) + layout.lineBreak + outer);
    }
    const qsizetype firstKey = object.members.first().keyStart;
    const QByteArray indent = beginsLine(text, firstKey) ? lineIndent(text, firstKey) : outer + layout.unit;
    return out.insert(object.members.last().valueEnd,
                      ',' + layout.lineBreak + indent + name + value(indent, true));
}

struct Servers {
    Object top;
    std::optional<Object> servers;
};

Result<Servers, QString> findServers(QByteArrayView text, const QString& serversKey) {
    auto top = JsonMembers::document(text);
    if (!top)
        return top.error();
    Servers found{*top, std::nullopt};
    const Member* servers = top->member(serversKey);
    if (!servers)
        return found;
    if (text[servers->valueStart] != '{')
        return u"\"%1\" is not an object"_s.arg(serversKey);
    auto object = JsonMembers::objectAt(text, servers->valueStart);
    if (!object)
        return object.error();
    found.servers = *object;
    return found;
}

bool isWhiteSpace(QByteArrayView text) {
    for (const char c : text)
        if (!isBlank(c) && c != '\n' && c != '\r')
            return false;
    return true;
}

} // namespace

Result<std::optional<QString>, QString> registeredCommand(QByteArrayView text, const QString& serversKey) {
    if (isWhiteSpace(text))
        return std::optional<QString>();
    auto found = findServers(text, serversKey);
    if (!found)
        return found.error();
    const Member* entry = found->servers ? found->servers->member(mcpServerName) : nullptr;
    if (!entry)
        return std::optional<QString>();
    const QByteArrayView value = text.sliced(entry->valueStart, entry->valueEnd - entry->valueStart);
    return std::optional(
        QJsonDocument::fromJson(value.toByteArray()).object().value("command"_L1).toString());
}

Result<QByteArray, QString> withEntry(QByteArrayView text, const QString& serversKey, const Entry& entry) {
    const QByteArray empty = "{}\n"_ba;
    if (isWhiteSpace(text))
        text = empty;
    auto found = findServers(text, serversKey);
    if (!found)
        return found.error();
    const Object& top = found->top;
    const Layout layout{text.contains("\r\n") ? "\r\n"_ba : "\n"_ba, indentUnit(text, top)};
    const bool documentSpansLines = top.members.isEmpty() || spansLines(text, top);
    // An empty object takes the layout of the document around it.
    const auto multiline = [&](const Object& object) {
        return object.members.isEmpty() ? documentSpansLines : spansLines(text, object);
    };
    const auto entryText = [&](const QByteArray& indent, bool spread) {
        return entryValue(entry, layout, indent, spread);
    };

    if (!found->servers) {
        const auto serversText = [&](const QByteArray& indent, bool spread) {
            const QByteArray name = quoted(mcpServerName) + ": ";
            if (!spread)
                return '{' + name + entryText({}, false) + '}';
            const QByteArray inner = indent + layout.unit;
            return '{' + layout.lineBreak + inner + name + entryText(inner, true) + layout.lineBreak +
                   indent + '}';
        };
        return withMember(text, top, multiline(top), layout, serversKey, serversText);
    }
    const Object& servers = *found->servers;
    if (const Member* existing = servers.member(mcpServerName)) {
        QByteArray out = text.toByteArray();
        return out.replace(existing->valueStart, existing->valueEnd - existing->valueStart,
                           entryText(lineIndent(text, existing->keyStart), multiline(servers)));
    }
    return withMember(text, servers, multiline(servers), layout, mcpServerName, entryText);
}

} // namespace Dovrin::Shell::JsonConfigEdit
