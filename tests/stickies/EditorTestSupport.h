#pragma once

#include "EditorPage.h"
#include "EditorTestMain.h"

#include <QApplication>
#include <QJsonObject>
#include <QList>
#include <QTest>

#include <optional>
#include <utility>

namespace Dovrin::Stickies::Testing {

// Every message one page posted, in order.
class MessageLog final : public QObject {
public:
    explicit MessageLog(EditorPage& page) {
        connect(&page, &EditorPage::messageReceived, this,
                [this](const QString& type, const QJsonObject& body) {
                    messages.append({type, body});
                });
    }

    int count(const QString& type) const {
        return static_cast<int>(std::count_if(messages.cbegin(), messages.cend(),
                                              [&](const auto& message) { return message.first == type; }));
    }
    QJsonObject last(const QString& type) const {
        for (auto it = messages.crbegin(); it != messages.crend(); ++it) {
            if (it->first == type)
                return it->second;
        }
        return {};
    }

    QList<std::pair<QString, QJsonObject>> messages;
};

// The answer to one script call, waited for with the event loop running.
inline std::optional<ScriptResult> callAndWait(EditorPage& page, const QString& script,
                                               const QJsonObject& arguments = {}, int timeoutMs = 10000) {
    std::optional<ScriptResult> answer;
    QObject receiver;
    page.call(script, arguments, &receiver, [&](const ScriptResult& result) { answer = result; });
    if (!QTest::qWaitFor([&] { return answer.has_value(); }, timeoutMs))
        return std::nullopt;
    return answer;
}

} // namespace Dovrin::Stickies::Testing
