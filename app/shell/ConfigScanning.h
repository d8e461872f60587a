#pragma once

#include <QByteArrayView>
#include <QString>

namespace Dovrin::Shell {

// What the scanners of AI clients' configuration files share.

// "line 3, column 14: <what>" for the byte at `position` of `text`, as the scanners report what they cannot
// read.
QString textPositionError(QByteArrayView text, qsizetype position, const QString& what);

// 0–15 for a hexadecimal digit, -1 for anything else.
int hexDigitValue(char c);

} // namespace Dovrin::Shell
