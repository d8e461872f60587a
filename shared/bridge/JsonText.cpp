#include "JsonText.h"

#include <QJsonDocument>

namespace Dovrin::Bridge {

QString renderJsonText(const QJsonObject& object) {
    QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Indented);
    if (text.endsWith('\n'))
        text.chop(1);
    return QString::fromUtf8(text);
}

} // namespace Dovrin::Bridge
