#include "app/agent/ToolJson.h"

#include "shared/bridge/JsonText.h"

#include <QJsonArray>

namespace Dovrin::Agent::ToolJson {

QJsonObject errorObject(const AgentError& error) {
    QJsonObject object{{"error", Bridge::rawValue(error.code)}, {"message", error.message}};
    if (error.currentRev)
        object.insert("current_rev", *error.currentRev);
    if (error.currentMarkdown)
        object.insert("current_markdown", *error.currentMarkdown);
    if (error.candidates) {
        QJsonArray candidates;
        for (const AgentOps::Todo& todo : *error.candidates)
            candidates.append(
                QJsonObject{{"index", todo.index}, {"text", todo.text}, {"checked", todo.checked}});
        object.insert("candidates", candidates);
    }
    if (error.retryAfterSeconds)
        object.insert("retry_after_seconds", *error.retryAfterSeconds);
    return object;
}

QString errorText(const AgentError& error) {
    return Bridge::renderJsonText(errorObject(error));
}

} // namespace Dovrin::Agent::ToolJson
