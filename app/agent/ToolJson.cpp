#include "ToolJson.h"

#include "JsonText.h"

#include <QJsonDocument>

namespace Dovrin::Agent::ToolJson {

QString render(const QJsonObject& object) {
    return Bridge::renderJsonText(object);
}

QString render(const QJsonArray& array) {
    // Same form as objects: indented, keys sorted (QJsonObject keeps them so), slashes left alone.
    QByteArray text = QJsonDocument(array).toJson(QJsonDocument::Indented);
    if (text.endsWith('\n'))
        text.chop(1);
    return QString::fromUtf8(text);
}

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
    return render(errorObject(error));
}

} // namespace Dovrin::Agent::ToolJson
