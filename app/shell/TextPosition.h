#pragma once

#include <QByteArrayView>
#include <QString>

namespace Dovrin::Shell {

// "line 3, column 14: <what>" for the byte at `position` of `text`, as the configuration scanners report
// what they cannot read.
QString textPositionError(QByteArrayView text, qsizetype position, const QString& what);

} // namespace Dovrin::Shell
