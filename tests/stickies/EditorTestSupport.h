#pragma once

#include "app/stickies/EditorPage.h"
#include "tests/support/EditorTestMain.h"

#include <QApplication>
#include <QJsonObject>
#include <QList>
#include <QTcpServer>
#include <QTest>

#include <optional>
#include <utility>

namespace Dovrin::Testing {

using namespace Qt::StringLiterals;
using Stickies::EditorPage;
using Stickies::ScriptResult;

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

// A server on the loopback address that only counts who connects to it.
class LoopbackServer final {
public:
    LoopbackServer() {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { ++connections; });
    }
    bool isListening() const { return m_server.isListening(); }
    QString url(const QString& path) const {
        return u"http://127.0.0.1:%1/"_s.arg(m_server.serverPort()) + path;
    }

    int connections = 0;

private:
    QTcpServer m_server;
};

// Has the page ask the server for a picture, for data and for a frame, in the page's own script. Answers
// once the picture and the data have failed (or the server was reached first), after a short settle for
// the frame; nothing when the page never settled.
inline std::optional<ScriptResult> askServerFromPage(EditorPage& page, const LoopbackServer& server) {
    std::optional<ScriptResult> answer;
    QObject receiver;
    page.call("const picture = new Promise((done) => {\n"
              "    const image = new Image();\n"
              "    image.onload = image.onerror = () => done(image.naturalWidth);\n"
              "    image.src = picture_url;\n"
              "});\n"
              "const data = fetch(data_url).then(() => 'fetched', () => 'failed');\n"
              "const frame = document.createElement('iframe');\n"
              "frame.src = frame_url;\n"
              "document.body.append(frame);\n"
              "return [await picture, await data];",
              {{"picture_url", server.url("pixel.png")},
               {"data_url", server.url("data")},
               {"frame_url", server.url("frame")}},
              &receiver, [&](const ScriptResult& result) { answer = result; });
    if (QTest::qWaitFor([&] { return answer.has_value() || server.connections > 0; }, 10000))
        QTest::qWait(250);
    return answer;
}

} // namespace Dovrin::Testing
