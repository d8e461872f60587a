#include "BridgeResponse.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace Dovrin::Bridge {

QByteArray BridgeResponse::encode() const {
    QJsonArray imageArray;
    for (const Image& image : images)
        imageArray.append(
            QJsonObject{{QStringLiteral("data"), image.data}, {QStringLiteral("mimeType"), image.mimeType}});
    const QJsonObject object{
        {QStringLiteral("text"), text},
        {QStringLiteral("images"), imageArray},
        {QStringLiteral("isError"), isError},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

Result<BridgeResponse, QString> BridgeResponse::decode(const QByteArray& bytes) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return QStringLiteral("the response is not JSON: %1").arg(parseError.errorString());
    if (!document.isObject())
        return QStringLiteral("the response is not a JSON object");
    const QJsonObject object = document.object();
    const QJsonValue text = object.value(QLatin1String("text"));
    const QJsonValue images = object.value(QLatin1String("images"));
    const QJsonValue isError = object.value(QLatin1String("isError"));
    if (!text.isString() || !images.isArray() || !isError.isBool())
        return QStringLiteral("the response needs a string \"text\", an array \"images\" and a boolean "
                              "\"isError\"");
    BridgeResponse response{text.toString(), {}, isError.toBool()};
    for (const QJsonValue& entry : images.toArray()) {
        const QJsonValue data = entry.toObject().value(QLatin1String("data"));
        const QJsonValue mimeType = entry.toObject().value(QLatin1String("mimeType"));
        if (!entry.isObject() || !data.isString() || !mimeType.isString())
            return QStringLiteral("every image of the response needs a string \"data\" and \"mimeType\"");
        response.images.append(Image{data.toString(), mimeType.toString()});
    }
    return response;
}

} // namespace Dovrin::Bridge
