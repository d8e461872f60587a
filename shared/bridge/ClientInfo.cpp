#include "shared/bridge/ClientInfo.h"

using namespace Qt::StringLiterals;

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
        {u"name"_s, name},
        {u"title"_s, optionalString(title)},
        {u"version"_s, optionalString(version)},
    };
}

std::optional<ClientInfo> ClientInfo::fromJson(const QJsonValue& value) {
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const auto name = stringMember(object, "name"_L1);
    if (!name)
        return std::nullopt;
    return ClientInfo{*name, stringMember(object, "title"_L1), stringMember(object, "version"_L1)};
}

} // namespace Dovrin::Bridge
