#pragma once

#include "app/core/Result.h"
#include "mcp/dovrin_mcp/Unavailable.h"
#include "mcp/dovrin_mcp/WorkerThreads.h"
#include "shared/bridge/BridgeResponse.h"
#include "shared/bridge/ClientInfo.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <functional>
#include <mutex>
#include <optional>

namespace Dovrin::Mcp {

// A failure that is answered as a JSON-RPC error.
struct RPCError final {
    int code = 0;
    QString message;
};

// The MCP end of dovrin-mcp: JSON-RPC 2.0 over one line per message. Tool calls go to the app through
// `Call`; every other method is answered here.
class MCPServer final {
public:
    using Call = std::function<Result<Bridge::BridgeResponse, Unavailable>(
        const QString& tool, const std::optional<Bridge::ClientInfo>& client, const QJsonObject& arguments)>;

    explicit MCPServer(Call call) : m_call(std::move(call)) {}
    MCPServer(const MCPServer&) = delete;
    MCPServer& operator=(const MCPServer&) = delete;

    // Answers each line of `inputFd` on `outputFd` until the input ends, then waits for the calls still
    // running. Returns the exit status.
    int run(int inputFd, int outputFd);

private:
    void handleLine(const QByteArray& line);
    Result<QJsonValue, RPCError> handle(const QString& method, const QJsonObject& params);
    QJsonObject initialize(const QJsonObject& params);
    Result<QJsonValue, RPCError> callTool(const QJsonObject& params);
    void respond(const QJsonValue& id, const Result<QJsonValue, RPCError>& outcome);
    void writeLine(const QJsonObject& message);

    Call m_call;
    int m_outputFd = -1;
    std::mutex m_outputMutex;
    std::mutex m_identityMutex;
    std::optional<Bridge::ClientInfo> m_identity;
    // Last, so that its threads are gone before anything they use.
    WorkerThreads m_workers;
};

} // namespace Dovrin::Mcp
