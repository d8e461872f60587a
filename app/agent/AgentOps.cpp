#include "app/agent/AgentOps.h"

#include "app/store/PlainText.h"

#include <QRegularExpression>

#include <optional>

using namespace Qt::StringLiterals;

namespace Dovrin::Agent::AgentOps {

namespace {

using Bridge::ErrorCode;

QRegularExpression wholeLine(const QString& pattern) {
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                              QRegularExpression::UseUnicodePropertiesOption);
}

QRegularExpression searched(const QString& pattern) {
    return QRegularExpression(pattern, QRegularExpression::UseUnicodePropertiesOption);
}

const QRegularExpression& todoLine() {
    static const auto expression = wholeLine(uR"(\s*([-*+]|\d+[.)])\s+\[([ xX])\](?:\s+(.*))?)"_s);
    return expression;
}

const QRegularExpression& headingLine() {
    static const auto expression = wholeLine(uR"(\s{0,3}(#{1,6})[ \t]+(.*?)[ \t]*(?:#+[ \t]*)?)"_s);
    return expression;
}

const QRegularExpression& listItem() {
    static const auto expression = searched(uR"(^\s*([-*+]|\d+[.)])\s)"_s);
    return expression;
}

const QRegularExpression& todoBox() {
    static const auto expression = searched(uR"(\[[ xX]\])"_s);
    return expression;
}

const QRegularExpression& imageReference() {
    static const auto expression =
        searched(Store::PlainText::imagePattern(uR"(app:\/\/local\/images\/([^)\s]+))"_s));
    return expression;
}

const QRegularExpression& imageFileName() {
    static const auto expression = wholeLine(uR"([A-Za-z0-9_-][A-Za-z0-9._-]*)"_s);
    return expression;
}

QStringList splitLines(const QString& text) {
    return text.split(QLatin1Char('\n'));
}

QString trimSpacesAndTabs(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (start < end && blank(text.at(start)))
        ++start;
    while (end > start && blank(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

QString trimNewlines(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start) == QLatin1Char('\n'))
        ++start;
    while (end > start && text.at(end - 1) == QLatin1Char('\n'))
        --end;
    return text.mid(start, end - start);
}

QString withoutTrailingNewlines(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char('\n'))
        --end;
    return text.left(end);
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// For each line, whether it sits inside fenced code. Fence lines themselves count as inside.
QList<bool> codeFlags(const QStringList& lines) {
    QList<bool> inside;
    inside.reserve(lines.size());
    std::optional<QChar> openFence;
    for (const QString& line : lines) {
        qsizetype start = 0;
        while (start < line.size() && line.at(start) == QLatin1Char(' '))
            ++start;
        const QStringView rest = QStringView(line).mid(start);
        if (rest.isEmpty()) {
            inside.append(openFence.has_value());
            continue;
        }
        std::optional<QChar> fence;
        if (rest.startsWith("```"_L1))
            fence = QLatin1Char('`');
        else if (rest.startsWith("~~~"_L1))
            fence = QLatin1Char('~');
        if (fence && !openFence) {
            openFence = fence;
            inside.append(true);
        } else if (fence && *openFence == *fence) {
            openFence.reset();
            inside.append(true);
        } else {
            inside.append(openFence.has_value());
        }
    }
    return inside;
}

struct Heading {
    int level = 0;
    QString key;
};

std::optional<Heading> heading(const QString& line) {
    const auto match = headingLine().match(line);
    if (!match.hasMatch() || match.captured(2).isEmpty())
        return std::nullopt;
    return Heading{static_cast<int>(match.capturedLength(1)), match.captured(2).toLower()};
}

} // namespace

QList<Todo> todos(const QString& markdown) {
    const QStringList lines = splitLines(markdown);
    const QList<bool> inside = codeFlags(lines);
    QList<Todo> found;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (inside.at(i))
            continue;
        const auto match = todoLine().match(lines.at(i));
        if (!match.hasMatch())
            continue;
        found.append(Todo{static_cast<int>(found.size()), static_cast<int>(i),
                          trimSpacesAndTabs(match.captured(3)), match.captured(2) != " "_L1});
    }
    return found;
}

AgentResult<SetTodoOutcome> setTodo(const TodoTarget& target, bool checked, const QString& markdown) {
    const QList<Todo> all = todos(markdown);
    Todo chosen;
    if (const qint64* index = std::get_if<qint64>(&target)) {
        if (*index < 0 || *index >= all.size())
            return AgentError{ErrorCode::notFound, u"The note has %1 todos; index %2 is out of range "
                                                   "(0-based, as read_note lists them)."_s.arg(all.size())
                                                       .arg(*index)};
        chosen = all.at(*index);
    } else {
        const QString& given = std::get<QString>(target);
        const QString wanted = trimSpacesAndTabs(given).toLower();
        if (wanted.isEmpty())
            return AgentError{ErrorCode::invalidArguments, u"match must not be empty."_s};
        QList<Todo> candidates;
        for (const Todo& todo : all)
            if (todo.text.toLower() == wanted)
                candidates.append(todo);
        if (candidates.isEmpty())
            for (const Todo& todo : all)
                if (todo.text.toLower().contains(wanted))
                    candidates.append(todo);
        if (candidates.isEmpty())
            return AgentError{ErrorCode::notFound, u"No todo matches "_s + quoted(given) +
                                                       u". Call read_note to see the todos."_s};
        if (candidates.size() > 1) {
            AgentError error{ErrorCode::ambiguous,
                             quoted(given) +
                                 u" matches %1 todos. Retry with index."_s.arg(candidates.size())};
            error.candidates = candidates;
            return error;
        }
        chosen = candidates.first();
    }
    if (chosen.checked == checked)
        return SetTodoOutcome{markdown, chosen};
    QStringList lines = splitLines(markdown);
    QString& line = lines[chosen.line];
    const auto box = todoBox().match(line);
    line.replace(box.capturedStart(), box.capturedLength(), checked ? u"[x]"_s : u"[ ]"_s);
    chosen.checked = checked;
    return SetTodoOutcome{lines.join(QLatin1Char('\n')), chosen};
}

AgentResult<QString> replaceSection(const QString& section, const QString& markdown) {
    const QStringList newLines = splitLines(trimNewlines(section));
    const auto sectionHeading = heading(newLines.first());
    if (!sectionHeading)
        return AgentError{ErrorCode::invalidArguments,
                          u"replace_section needs markdown whose first line is a heading, "
                          "e.g. \"## Tasks\"."_s};
    QStringList lines = splitLines(markdown);
    const QList<bool> inside = codeFlags(lines);
    QList<qsizetype> matches;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (inside.at(i))
            continue;
        const auto found = heading(lines.at(i));
        if (found && found->key == sectionHeading->key)
            matches.append(i);
    }
    if (matches.isEmpty())
        return append(section, markdown);
    if (matches.size() > 1)
        return AgentError{ErrorCode::ambiguous, u"The note has %1 sections titled "_s.arg(matches.size()) +
                                                    quoted(newLines.first()) +
                                                    u". Use update_note with op replace_all instead."_s};
    const qsizetype start = matches.first();
    const int level = heading(lines.at(start))->level;
    qsizetype end = lines.size();
    for (qsizetype i = start + 1; i < lines.size(); ++i) {
        if (inside.at(i))
            continue;
        const auto found = heading(lines.at(i));
        if (found && found->level <= level) {
            end = i;
            break;
        }
    }
    QStringList replacement = newLines;
    // A blank line before the next heading; at the end of the note, only to keep its final newline.
    if (end < lines.size() || markdown.endsWith(QLatin1Char('\n')))
        replacement.append(QString());
    lines.remove(start, end - start);
    for (qsizetype i = 0; i < replacement.size(); ++i)
        lines.insert(start + i, replacement.at(i));
    return lines.join(QLatin1Char('\n'));
}

QString append(const QString& addition, const QString& markdown) {
    const QString base = withoutTrailingNewlines(markdown);
    const QString add = trimNewlines(addition);
    const QString tail = markdown.endsWith(QLatin1Char('\n')) ? u"\n"_s : QString();
    if (base.isEmpty())
        return add + tail;
    if (add.isEmpty())
        return markdown;
    const QString lastLine = base.mid(base.lastIndexOf(QLatin1Char('\n')) + 1);
    const QString firstLine = add.left(add.indexOf(QLatin1Char('\n')));
    // A list continues without a gap; anything else gets one blank line.
    const bool listContinues =
        listItem().match(lastLine).hasMatch() && listItem().match(firstLine).hasMatch();
    return base + (listContinues ? u"\n"_s : u"\n\n"_s) + add + tail;
}

QStringList imageNames(const QString& markdown) {
    QStringList names;
    auto matches = imageReference().globalMatch(markdown);
    while (matches.hasNext()) {
        const QString name = matches.next().captured(2);
        if (imageFileName().match(name).hasMatch() && !names.contains(name))
            names.append(name);
    }
    return names;
}

AgentError conflict(qint64 rev, const QString& markdown) {
    AgentError error{ErrorCode::conflict,
                     u"The note changed since you read it, and nothing was written. Merge your "
                     "change into current_markdown and retry with current_rev."_s};
    error.currentRev = rev;
    error.currentMarkdown = markdown;
    return error;
}

} // namespace Dovrin::Agent::AgentOps
