#include "shared/bridge/BridgeResponse.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

using namespace Qt::StringLiterals;

namespace Dovrin::Bridge {

QByteArray BridgeResponse::encode() const {
    QJsonArray imageArray;
    for (const Image& image : images)
        imageArray.append(QJsonObject{{u"data"_s, image.data}, {u"mimeType"_s, image.mimeType}});
    const QJsonObject object{
        {u"text"_s, text},
        {u"images"_s, imageArray},
        {u"isError"_s, isError},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

Result<BridgeResponse, QString> BridgeResponse::decode(const QByteArray& bytes) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return u"the response is not JSON: %1"_s.arg(parseError.errorString());
    if (!document.isObject())
        return u"the response is not a JSON object"_s;
    const QJsonObject object = document.object();
    const QJsonValue text = object.value("text"_L1);
    const QJsonValue images = object.value("images"_L1);
    const QJsonValue isError = object.value("isError"_L1);
    if (!text.isString() || !images.isArray() || !isError.isBool())
        return u"the response needs a string \"text\", an array \"images\" and a boolean "
               "\"isError\""_s;
    BridgeResponse response{text.toString(), {}, isError.toBool()};
    for (const QJsonValue& entry : images.toArray()) {
        const QJsonValue data = entry.toObject().value("data"_L1);
        const QJsonValue mimeType = entry.toObject().value("mimeType"_L1);
        if (!entry.isObject() || !data.isString() || !mimeType.isString())
            return u"every image of the response needs a string \"data\" and \"mimeType\""_s;
        response.images.append(Image{data.toString(), mimeType.toString()});
    }
    return response;
}

} // namespace Dovrin::Bridge
