#pragma once

#include "app/agent/AgentTodo.h"
#include "app/core/Result.h"
#include "shared/bridge/ErrorCode.h"

#include <QList>
#include <QString>

#include <optional>
#include <utility>

namespace Dovrin::Agent {

using namespace Qt::StringLiterals;

// What every agent tool fails with; the message is written for the AI.
struct AgentError {
    AgentError() = default;
    AgentError(Bridge::ErrorCode code, QString message) : code(code), message(std::move(message)) {}

    Bridge::ErrorCode code = Bridge::ErrorCode::unavailable;
    QString message;
    std::optional<qint64> currentRev;
    std::optional<QString> currentMarkdown;
    std::optional<QList<AgentOps::Todo>> candidates;
    std::optional<qint64> retryAfterSeconds;
    // What failed, when it was not the AI's doing (the database, say): it is logged rather than the code.
    std::optional<QString> failure;

    // Code unavailable, with the message "Dovrin failed: " and the description.
    static AgentError failed(const QString& description) {
        AgentError error(Bridge::ErrorCode::unavailable, u"Dovrin failed: "_s + description);
        error.failure = description;
        return error;
    }

    friend bool operator==(const AgentError&, const AgentError&) = default;
};

template <typename T> using AgentResult = Dovrin::Result<T, AgentError>;

} // namespace Dovrin::Agent
