#pragma once

#include <QJsonObject>
#include <QString>
#include <optional>

namespace Dovrin::Bridge {

// Who is calling, as the AI client announced itself in the MCP handshake.
struct ClientInfo final {
    QString name;
    std::optional<QString> title;
    std::optional<QString> version;

    // A missing title or version is written as JSON null.
    QJsonObject toJson() const;
    // Nothing unless `value` is an object whose "name" is a string; a title or version that is absent,
    // null or not a string reads as absent.
    static std::optional<ClientInfo> fromJson(const QJsonValue& value);

    bool operator==(const ClientInfo&) const = default;
};

} // namespace Dovrin::Bridge
