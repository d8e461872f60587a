#include "BridgeRequest.h"

#include <QJsonDocument>
#include <QJsonParseError>

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
    QJsonObject object{{QStringLiteral("tool"), tool}, {QStringLiteral("arguments"), arguments}};
    if (client)
        object.insert(QStringLiteral("client"), client->toJson());
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

Result<BridgeRequest, QString> BridgeRequest::decode(const QByteArray& bytes) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return QStringLiteral("the request is not JSON: %1").arg(parseError.errorString());
    if (!document.isObject())
        return QStringLiteral("the request is not a JSON object");
    const QJsonObject object = document.object();
    const QJsonValue tool = object.value(QLatin1String("tool"));
    if (!tool.isString())
        return QStringLiteral("the request has no string \"tool\"");
    const QJsonValue arguments = object.value(QLatin1String("arguments"));
    if (!arguments.isObject())
        return QStringLiteral("the request has no object \"arguments\"");
    BridgeRequest request{tool.toString(), std::nullopt, arguments.toObject()};
    const QJsonValue client = object.value(QLatin1String("client"));
    if (!client.isUndefined() && !client.isNull()) {
        request.client = ClientInfo::fromJson(client);
        if (!request.client)
            return QStringLiteral("the request's \"client\" has no string \"name\"");
    }
    return request;
}

} // namespace Dovrin::Bridge
