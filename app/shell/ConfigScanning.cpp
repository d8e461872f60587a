#include "app/shell/ConfigScanning.h"

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

QString textPositionError(QByteArrayView text, qsizetype position, const QString& what) {
    int line = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < position && i < text.size(); ++i)
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    return u"line %1, column %2: %3"_s.arg(line).arg(position - lineStart + 1).arg(what);
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace Dovrin::Shell
