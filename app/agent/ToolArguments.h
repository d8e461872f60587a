#pragma once

#include "app/agent/AgentError.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

// The arguments of the six tools, decoded from a request's "arguments" object. Keys are snake case; the
// camel-case spelling of a key is accepted too.
namespace Dovrin::Agent::ToolArguments {

struct ListArgs {
    std::optional<QString> query;
    std::optional<qint64> limit;
    std::optional<bool> includeClosed;
};

struct ReadArgs {
    QString note;
    std::optional<qint64> maxChars;
    std::optional<qint64> offset;
};

struct NewNote {
    QString markdown;
    std::optional<QString> color;
};

struct CreateArgs {
    QList<NewNote> notes;
};

enum class Op { append, replaceSection, replaceAll };

struct UpdateArgs {
    QString note;
    Op op = Op::append;
    QString markdown;
    qint64 expectedRev = 0;
};

struct SetTodoArgs {
    QString note;
    std::optional<qint64> index;
    std::optional<QString> match;
    bool checked = false;
};

struct NoteArgs {
    QString note;
};

// Each fails with invalid_arguments and "Invalid arguments for {tool}: {detail}".
AgentResult<ListArgs> listArgs(const QJsonObject& arguments);
AgentResult<ReadArgs> readArgs(const QJsonObject& arguments);
AgentResult<CreateArgs> createArgs(const QJsonObject& arguments);
AgentResult<UpdateArgs> updateArgs(const QJsonObject& arguments);
AgentResult<SetTodoArgs> setTodoArgs(const QJsonObject& arguments);
AgentResult<NoteArgs> noteArgs(const QJsonObject& arguments);

} // namespace Dovrin::Agent::ToolArguments
