#include "app/agent/AgentOps.h"

#include <QRegularExpression>

#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

// The Markdown operations an AI drives, on any note. The input is a control byte, the note, a NUL and the
// AI's markdown (the addition, the section, the new body or the todo's match text). Every operation either
// gives a result within its bounds or an error with a message; ticking a todo changes that todo and
// nothing else.

namespace Ops = Dovrin::Agent::AgentOps;
using Dovrin::Bridge::ErrorCode;

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

void checkTodos(const QString& markdown) {
    const QList<Ops::Todo> todos = Ops::todos(markdown);
    const qsizetype lines = markdown.count(QLatin1Char('\n')) + 1;
    for (qsizetype i = 0; i < todos.size(); ++i) {
        require(todos.at(i).index == i && todos.at(i).line < lines);
        require(i == 0 || todos.at(i).line > todos.at(i - 1).line);
        require(!todos.at(i).text.contains(QLatin1Char('\n')));
    }
}

void checkSetTodo(const Ops::TodoTarget& target, bool checked, const QString& markdown) {
    const auto outcome = Ops::setTodo(target, checked, markdown);
    if (!outcome) {
        const ErrorCode code = outcome.error().code;
        require(code == ErrorCode::notFound || code == ErrorCode::ambiguous ||
                code == ErrorCode::invalidArguments);
        require(!outcome.error().message.isEmpty());
        require(code != ErrorCode::ambiguous || outcome.error().candidates->size() > 1);
        return;
    }
    require(outcome->todo.checked == checked);
    QList<Ops::Todo> expected = Ops::todos(markdown);
    expected[outcome->todo.index].checked = checked;
    require(Ops::todos(outcome->markdown) == expected);
    require(outcome->markdown.size() == markdown.size());
}

void checkImageNames(const QString& markdown) {
    static const QRegularExpression fileName(
        QRegularExpression::anchoredPattern(u"[A-Za-z0-9_-][A-Za-z0-9._-]*"_s));
    const QStringList names = Ops::imageNames(markdown);
    for (const QString& name : names)
        require(fileName.match(name).hasMatch() && names.count(name) == 1);
}

QString withoutOuterNewlines(QString text) {
    while (text.startsWith(QLatin1Char('\n')))
        text.remove(0, 1);
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t control = data[0];
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    const qsizetype split = rest.indexOf('\0');
    const QString note = QString::fromUtf8(split < 0 ? rest : rest.left(split));
    const QString given = split < 0 ? QString() : QString::fromUtf8(rest.mid(split + 1));

    checkTodos(note);
    checkImageNames(note);
    // replace_all: the AI's markdown becomes the body as it is.
    checkTodos(given);
    checkImageNames(given);

    const QString appended = Ops::append(given, note);
    require(appended.size() <= note.size() + given.size() + 2);
    require(appended.contains(withoutOuterNewlines(given)));

    const auto replaced = Ops::replaceSection(given, note);
    if (replaced)
        require(replaced->size() <= note.size() + given.size() + 2 &&
                replaced->contains(withoutOuterNewlines(given)));
    else
        require((replaced.error().code == ErrorCode::invalidArguments ||
                 replaced.error().code == ErrorCode::ambiguous) &&
                !replaced.error().message.isEmpty());

    const bool checked = control & 1;
    const qint64 index = static_cast<qint64>(control >> 1) - 2;
    checkSetTodo(index, checked, note);
    checkSetTodo(given, checked, note);
    return 0;
}
