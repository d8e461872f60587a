#pragma once

#include "app/agent/AgentError.h"
#include "app/agent/AgentTodo.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <variant>

// Pure operations over a note's Markdown that the agent tools use. Lines are split at "\n" only, and
// lines inside fenced code never count as todos or headings.
namespace Dovrin::Agent::AgentOps {

// A todo chosen by its index or by (part of) its text.
using TodoTarget = std::variant<qint64, QString>;

struct SetTodoOutcome {
    QString markdown;
    Todo todo;
};

QList<Todo> todos(const QString& markdown);
AgentResult<SetTodoOutcome> setTodo(const TodoTarget& target, bool checked, const QString& markdown);
AgentResult<QString> replaceSection(const QString& section, const QString& markdown);
QString append(const QString& addition, const QString& markdown);
QStringList imageNames(const QString& markdown);
AgentError conflict(qint64 rev, const QString& markdown);

} // namespace Dovrin::Agent::AgentOps
