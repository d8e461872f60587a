#include "shared/bridge/JsonText.h"

#include <QJsonDocument>

namespace Dovrin::Bridge {

namespace {

QString rendered(const QJsonDocument& document) {
    QByteArray text = document.toJson(QJsonDocument::Indented);
    if (text.endsWith('\n'))
        text.chop(1);
    return QString::fromUtf8(text);
}

} // namespace

QString renderJsonText(const QJsonObject& object) {
    return rendered(QJsonDocument(object));
}

QString renderJsonText(const QJsonArray& array) {
    return rendered(QJsonDocument(array));
}

} // namespace Dovrin::Bridge
