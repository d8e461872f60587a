#pragma once

#include "app/core/Result.h"
#include "shared/bridge/ClientInfo.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>

namespace Dovrin::Bridge {

// One tool call on its way from dovrin-mcp to the app. The arguments travel untouched; the app decodes
// them with the tool's own argument type.
struct BridgeRequest final {
    QString tool;
    std::optional<ClientInfo> client;
    QJsonObject arguments;

    // The argument under its snake-case key ("expected_rev"), or else under the camel-case spelling of that
    // key ("expectedRev"); undefined when neither is there.
    QJsonValue argument(QStringView snakeCaseKey) const;

    // Compact JSON with "tool", "arguments" and, when there is a client identity, "client".
    QByteArray encode() const;
    // Requires a string "tool" and an object "arguments"; "client" may be absent or null, but when it is
    // there it must be an object with a string "name". The error text says what was wrong.
    static Result<BridgeRequest, QString> decode(const QByteArray& bytes);

    bool operator==(const BridgeRequest&) const = default;
};

} // namespace Dovrin::Bridge
