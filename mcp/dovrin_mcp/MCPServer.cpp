#include "mcp/dovrin_mcp/MCPServer.h"

#include "generated/Version.h"
#include "mcp/dovrin_mcp/ToolList.h"
#include "shared/bridge/JsonText.h"
#include "shared/bridge/ToolLimits.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <array>
#include <cerrno>
#include <cstring>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace Dovrin::Mcp {

namespace {

constexpr int parseErrorCode = -32700;
constexpr int methodNotFoundCode = -32601;
constexpr int unknownToolCode = -32602;

constexpr std::array<const char*, 4> supportedProtocolVersions{"2025-11-25", "2025-06-18", "2025-03-26",
                                                               "2024-11-05"};

constexpr const char* instructions =
    "Dovrin is the user's sticky-notes app on this computer. When the user shares a Dovrin link "
    "(dovrin://note/<id> or https://<domain>/n/<id>), call read_note with it. Read a note before you change "
    "it, and pass its rev as expected_rev to update_note. Use set_todo to tick todos and create_notes (up to "
    "%1 at once) to put new stickies on the user's screen. The user can undo every change. Errors are JSON "
    "with an \"error\" code: not_found, conflict (re-read or merge using current_rev and current_markdown, "
    "then retry), ambiguous (pick from candidates), forbidden (tell the user the message), rate_limited "
    "(wait retry_after_seconds), too_large, unavailable, invalid_arguments.";

QString protocolVersion(const QJsonValue& requested) {
    for (const char* version : supportedProtocolVersions)
        if (requested.isString() && requested.toString() == QLatin1String(version))
            return requested.toString();
    return QString::fromLatin1(supportedProtocolVersions.front());
}

QString valueAsText(const QJsonValue& value) {
    if (value.isUndefined())
        return u"none"_s;
    if (value.isString())
        return value.toString();
    QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

QJsonObject textContent(const QString& text) {
    return QJsonObject{{u"type"_s, u"text"_s}, {u"text"_s, text}};
}

QJsonObject toolResult(const Bridge::BridgeResponse& response) {
    QJsonArray content{textContent(response.text)};
    for (const Bridge::BridgeResponse::Image& image : response.images)
        content.append(
            QJsonObject{{u"type"_s, u"image"_s}, {u"data"_s, image.data}, {u"mimeType"_s, image.mimeType}});
    return QJsonObject{{u"content"_s, content}, {u"isError"_s, response.isError}};
}

QJsonObject unavailableResult(const Unavailable& failure) {
    const QString text = Bridge::renderJsonText(QJsonObject{
        {u"error"_s, u"unavailable"_s},
        {u"message"_s, failure.message},
    });
    return QJsonObject{{u"content"_s, QJsonArray{textContent(text)}}, {u"isError"_s, true}};
}

void writeError(const QByteArray& message) {
    const QByteArray line = "dovrin-mcp: stdin failed: " + message + "\n";
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, line.constData(), line.size());
}

} // namespace

int MCPServer::run(int inputFd, int outputFd) {
    m_outputFd = outputFd;
    QByteArray pending;
    qsizetype scanned = 0;
    std::array<char, 65536> chunk;
    for (;;) {
        const ssize_t count = ::read(inputFd, chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            writeError(QByteArray(std::strerror(errno)));
            break;
        }
        if (count == 0)
            break;
        pending.append(chunk.data(), count);
        qsizetype lineStart = 0;
        for (qsizetype newline; (newline = pending.indexOf('\n', scanned)) >= 0; scanned = lineStart) {
            handleLine(QByteArray(pending.constData() + lineStart, newline - lineStart));
            lineStart = newline + 1;
        }
        pending.remove(0, lineStart);
        scanned = pending.size();
    }
    if (!pending.isEmpty())
        handleLine(pending);
    m_workers.waitUntilAllFinished();
    return 0;
}

void MCPServer::handleLine(const QByteArray& line) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        respond(QJsonValue::Null, RPCError{parseErrorCode, u"Parse error"_s});
        return;
    }
    const QJsonObject message = document.object();
    const QJsonValue method = message.value("method"_L1);
    if (!method.isString() || !message.contains("id"_L1))
        return;
    const QJsonValue id = message.value("id"_L1);
    const QJsonObject params = message.value("params"_L1).toObject();
    // Tool calls wait for the app, possibly for seconds; everything else is answered at once.
    if (method.toString() == "tools/call"_L1)
        m_workers.run([this, id, params] { respond(id, callTool(params)); });
    else
        respond(id, handle(method.toString(), params));
}

Result<QJsonValue, RPCError> MCPServer::handle(const QString& method, const QJsonObject& params) {
    if (method == "initialize"_L1)
        return QJsonValue(initialize(params));
    if (method == "ping"_L1)
        return QJsonValue(QJsonObject());
    if (method == "tools/list"_L1)
        return QJsonValue(QJsonObject{{u"tools"_s, toolList()}});
    return RPCError{methodNotFoundCode, u"Method not found: %1"_s.arg(method)};
}

QJsonObject MCPServer::initialize(const QJsonObject& params) {
    if (auto client = Bridge::ClientInfo::fromJson(params.value("clientInfo"_L1))) {
        std::lock_guard lock(m_identityMutex);
        m_identity = std::move(client);
    }
    return QJsonObject{
        {u"protocolVersion"_s, protocolVersion(params.value("protocolVersion"_L1))},
        {u"capabilities"_s, QJsonObject{{u"tools"_s, QJsonObject{{u"listChanged"_s, false}}}}},
        {u"serverInfo"_s, QJsonObject{{u"name"_s, u"dovrin"_s},
                                      {u"title"_s, u"Dovrin"_s},
                                      {u"version"_s, QString::fromUtf8(DOVRIN_VERSION)}}},
        {u"instructions"_s, QString::fromUtf8(instructions).arg(Bridge::maxNotesPerCreate)},
    };
}

Result<QJsonValue, RPCError> MCPServer::callTool(const QJsonObject& params) {
    const QJsonValue name = params.value("name"_L1);
    if (!name.isString() || !isToolName(name.toString()))
        return RPCError{unknownToolCode, u"Unknown tool: %1"_s.arg(valueAsText(name))};
    const QJsonObject arguments = params.value("arguments"_L1).toObject();
    std::optional<Bridge::ClientInfo> client;
    {
        std::lock_guard lock(m_identityMutex);
        client = m_identity;
    }
    const auto response = m_call(name.toString(), client, arguments);
    return QJsonValue(response ? toolResult(*response) : unavailableResult(response.error()));
}

void MCPServer::respond(const QJsonValue& id, const Result<QJsonValue, RPCError>& outcome) {
    QJsonObject message{{u"jsonrpc"_s, u"2.0"_s}, {u"id"_s, id}};
    if (outcome)
        message.insert(u"result"_s, *outcome);
    else
        message.insert(u"error"_s, QJsonObject{{u"code"_s, outcome.error().code},
                                               {u"message"_s, outcome.error().message}});
    writeLine(message);
}

void MCPServer::writeLine(const QJsonObject& message) {
    const QByteArray line = QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n';
    std::lock_guard lock(m_outputMutex);
    for (qsizetype written = 0; written < line.size();) {
        const ssize_t count = ::write(m_outputFd, line.constData() + written, line.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        // A client that stopped reading gets nothing more; the calls still finish.
        if (count <= 0)
            return;
        written += count;
    }
}

} // namespace Dovrin::Mcp
