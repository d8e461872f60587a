#include "ClientInfo.h"

namespace Dovrin::Bridge {

namespace {

QJsonValue optionalString(const std::optional<QString>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

std::optional<QString> stringMember(const QJsonObject& object, QLatin1String key) {
    const QJsonValue value = object.value(key);
    return value.isString() ? std::optional<QString>(value.toString()) : std::nullopt;
}

} // namespace

QJsonObject ClientInfo::toJson() const {
    return QJsonObject{
        {QStringLiteral("name"), name},
        {QStringLiteral("title"), optionalString(title)},
        {QStringLiteral("version"), optionalString(version)},
    };
}

std::optional<ClientInfo> ClientInfo::fromJson(const QJsonValue& value) {
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const auto name = stringMember(object, QLatin1String("name"));
    if (!name)
        return std::nullopt;
    return ClientInfo{*name, stringMember(object, QLatin1String("title")),
                      stringMember(object, QLatin1String("version"))};
}

} // namespace Dovrin::Bridge
