#include "shared/bridge/BridgeRequest.h"

#include <QJsonDocument>
#include <QJsonParseError>

using namespace Qt::StringLiterals;

namespace Dovrin::Bridge {

QJsonValue BridgeRequest::argument(QStringView snakeCaseKey) const {
    const QJsonValue value = arguments.value(snakeCaseKey);
    if (!value.isUndefined())
        return value;
    QString camelCaseKey;
    bool upperNext = false;
    for (const QChar character : snakeCaseKey) {
        if (character == u'_' && !camelCaseKey.isEmpty()) {
            upperNext = true;
            continue;
        }
        camelCaseKey += upperNext ? character.toUpper() : character;
        upperNext = false;
    }
    return arguments.value(camelCaseKey);
}

QByteArray BridgeRequest::encode() const {
    QJsonObject object{{u"tool"_s, tool}, {u"arguments"_s, arguments}};
    if (client)
        object.insert(u"client"_s, client->toJson());
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

Result<BridgeRequest, QString> BridgeRequest::decode(const QByteArray& bytes) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return u"the request is not JSON: %1"_s.arg(parseError.errorString());
    if (!document.isObject())
        return u"the request is not a JSON object"_s;
    const QJsonObject object = document.object();
    const QJsonValue tool = object.value("tool"_L1);
    if (!tool.isString())
        return u"the request has no string \"tool\""_s;
    const QJsonValue arguments = object.value("arguments"_L1);
    if (!arguments.isObject())
        return u"the request has no object \"arguments\""_s;
    BridgeRequest request{tool.toString(), std::nullopt, arguments.toObject()};
    const QJsonValue client = object.value("client"_L1);
    if (!client.isUndefined() && !client.isNull()) {
        request.client = ClientInfo::fromJson(client);
        if (!request.client)
            return u"the request's \"client\" has no string \"name\""_s;
    }
    return request;
}

} // namespace Dovrin::Bridge
