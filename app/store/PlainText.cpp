#include "app/store/PlainText.h"

#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Dovrin::Store::PlainText {

namespace {

const QRegularExpression& lineBreaks() {
    static const QRegularExpression expression(u"\r\n|[\n\v\f\r\u0085\u2028\u2029]"_s);
    return expression;
}

const QRegularExpression& blockMarker() {
    static const QRegularExpression expression(uR"(^(#{1,6}\s+|>\s*|[-*+]\s+(\[[ xX]\]\s+)?|\d+[.)]\s+))"_s,
                                               QRegularExpression::UseUnicodePropertiesOption);
    return expression;
}

const QRegularExpression& linkOrImage() {
    static const QRegularExpression expression(uR"(!?\[([^\]]*)\]\([^)]*\))"_s,
                                               QRegularExpression::UseUnicodePropertiesOption);
    return expression;
}

const QRegularExpression& emphasisMarks() {
    static const QRegularExpression expression(uR"(\*\*|__|~~|`)"_s);
    return expression;
}

template <typename Visit> void forEachCodePoint(const QString& text, Visit visit) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        if (unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            visit(QChar::surrogateToUcs4(unit, text.at(i + 1)));
            ++i;
        } else {
            visit(char32_t(unit.unicode()));
        }
    }
}

void appendCodePoint(QString& text, char32_t codePoint) {
    if (QChar::requiresSurrogates(codePoint)) {
        text += QChar(QChar::highSurrogate(codePoint));
        text += QChar(QChar::lowSurrogate(codePoint));
    } else {
        text += QChar(char16_t(codePoint));
    }
}

} // namespace

QStringList plainLines(const QString& markdown) {
    QStringList lines;
    const QStringList pieces = markdown.split(lineBreaks(), Qt::SkipEmptyParts);
    for (const QString& piece : pieces) {
        // The pieces hold no line breaks any more, so the whitespace trimmed here is spaces and tabs.
        QString line = piece.trimmed();
        if (line.isEmpty() || line == u"<br />"_s)
            continue;
        line.remove(blockMarker());
        line.replace(linkOrImage(), u"\\1"_s);
        line.remove(emphasisMarks());
        lines.append(line.trimmed());
    }
    return lines;
}

QString title(const QString& markdown) {
    const QStringList lines = plainLines(markdown);
    return lines.isEmpty() ? QString() : lines.first();
}

QString bodyLine(const QString& markdown) {
    QStringList lines = plainLines(markdown);
    if (!lines.isEmpty())
        lines.removeFirst();
    lines.removeAll(QString());
    return lines.join(u" · "_s);
}

QString imagePattern(const QString& target) {
    return uR"(!\[([^\]]*)\]\()"_s + target + uR"(\))"_s;
}

QString fold(const QString& text) {
    const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
        return text.toCaseFolded();
    // Width folding maps only the characters whose compatibility decomposition is tagged <wide> or
    // <narrow> (fullwidth Latin, halfwidth katakana, the ideographic space); a full NFKD would also
    // rewrite ligatures, superscripts and fractions, which a width-insensitive comparison leaves alone.
    QString widthFolded;
    widthFolded.reserve(text.size());
    forEachCodePoint(text, [&](char32_t codePoint) {
        const QChar::Decomposition tag = QChar::decompositionTag(codePoint);
        if (tag == QChar::Wide || tag == QChar::Narrow)
            widthFolded += QChar::decomposition(codePoint);
        else
            appendCodePoint(widthFolded, codePoint);
    });
    // Diacritics are the non-spacing marks left after canonical decomposition.
    const QString decomposed = widthFolded.normalized(QString::NormalizationForm_D);
    QString stripped;
    stripped.reserve(decomposed.size());
    forEachCodePoint(decomposed, [&](char32_t codePoint) {
        if (QChar::category(codePoint) != QChar::Mark_NonSpacing)
            appendCodePoint(stripped, codePoint);
    });
    return stripped.toCaseFolded().normalized(QString::NormalizationForm_C);
}

} // namespace Dovrin::Store::PlainText
