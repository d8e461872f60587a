#include "MCPServer.h"

#include "JsonText.h"
#include "ToolLimits.h"
#include "ToolList.h"
#include "Version.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include <array>
#include <cerrno>
#include <cstring>
#include <unistd.h>

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
        return QStringLiteral("none");
    if (value.isString())
        return value.toString();
    QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

QJsonObject textContent(const QString& text) {
    return QJsonObject{{QStringLiteral("type"), QStringLiteral("text")}, {QStringLiteral("text"), text}};
}

QJsonObject toolResult(const Bridge::BridgeResponse& response) {
    QJsonArray content{textContent(response.text)};
    for (const Bridge::BridgeResponse::Image& image : response.images)
        content.append(QJsonObject{{QStringLiteral("type"), QStringLiteral("image")},
                                   {QStringLiteral("data"), image.data},
                                   {QStringLiteral("mimeType"), image.mimeType}});
    return QJsonObject{{QStringLiteral("content"), content}, {QStringLiteral("isError"), response.isError}};
}

QJsonObject unavailableResult(const Unavailable& failure) {
    const QString text = Bridge::renderJsonText(QJsonObject{
        {QStringLiteral("error"), QStringLiteral("unavailable")},
        {QStringLiteral("message"), failure.message},
    });
    return QJsonObject{{QStringLiteral("content"), QJsonArray{textContent(text)}},
                       {QStringLiteral("isError"), true}};
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
        respond(QJsonValue::Null, RPCError{parseErrorCode, QStringLiteral("Parse error")});
        return;
    }
    const QJsonObject message = document.object();
    const QJsonValue method = message.value(QLatin1String("method"));
    if (!method.isString() || !message.contains(QLatin1String("id")))
        return;
    const QJsonValue id = message.value(QLatin1String("id"));
    const QJsonObject params = message.value(QLatin1String("params")).toObject();
    // Tool calls wait for the app, possibly for seconds; everything else is answered at once.
    if (method.toString() == QLatin1String("tools/call"))
        m_workers.run([this, id, params] { respond(id, callTool(params)); });
    else
        respond(id, handle(method.toString(), params));
}

Result<QJsonValue, RPCError> MCPServer::handle(const QString& method, const QJsonObject& params) {
    if (method == QLatin1String("initialize"))
        return QJsonValue(initialize(params));
    if (method == QLatin1String("ping"))
        return QJsonValue(QJsonObject());
    if (method == QLatin1String("tools/list"))
        return QJsonValue(QJsonObject{{QStringLiteral("tools"), toolList()}});
    return RPCError{methodNotFoundCode, QStringLiteral("Method not found: %1").arg(method)};
}

QJsonObject MCPServer::initialize(const QJsonObject& params) {
    if (auto client = Bridge::ClientInfo::fromJson(params.value(QLatin1String("clientInfo")))) {
        std::lock_guard lock(m_identityMutex);
        m_identity = std::move(client);
    }
    return QJsonObject{
        {QStringLiteral("protocolVersion"), protocolVersion(params.value(QLatin1String("protocolVersion")))},
        {QStringLiteral("capabilities"),
         QJsonObject{{QStringLiteral("tools"), QJsonObject{{QStringLiteral("listChanged"), false}}}}},
        {QStringLiteral("serverInfo"),
         QJsonObject{{QStringLiteral("name"), QStringLiteral("dovrin")},
                     {QStringLiteral("title"), QStringLiteral("Dovrin")},
                     {QStringLiteral("version"), QStringLiteral(DOVRIN_VERSION)}}},
        {QStringLiteral("instructions"), QString::fromUtf8(instructions).arg(Bridge::maxNotesPerCreate)},
    };
}

Result<QJsonValue, RPCError> MCPServer::callTool(const QJsonObject& params) {
    const QJsonValue name = params.value(QLatin1String("name"));
    if (!name.isString() || !isToolName(name.toString()))
        return RPCError{unknownToolCode, QStringLiteral("Unknown tool: %1").arg(valueAsText(name))};
    const QJsonObject arguments = params.value(QLatin1String("arguments")).toObject();
    std::optional<Bridge::ClientInfo> client;
    {
        std::lock_guard lock(m_identityMutex);
        client = m_identity;
    }
    const auto response = m_call(name.toString(), client, arguments);
    return QJsonValue(response ? toolResult(*response) : unavailableResult(response.error()));
}

void MCPServer::respond(const QJsonValue& id, const Result<QJsonValue, RPCError>& outcome) {
    QJsonObject message{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")}, {QStringLiteral("id"), id}};
    if (outcome)
        message.insert(QStringLiteral("result"), *outcome);
    else
        message.insert(QStringLiteral("error"),
                       QJsonObject{{QStringLiteral("code"), outcome.error().code},
                                   {QStringLiteral("message"), outcome.error().message}});
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
