#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace Dovrin::Bridge {

// The one rendering of JSON that tools hand to AI clients as text: indented, keys sorted, forward slashes
// not escaped, no trailing newline.
QString renderJsonText(const QJsonObject& object);
QString renderJsonText(const QJsonArray& array);

} // namespace Dovrin::Bridge
