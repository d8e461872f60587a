#include "app/shell/SearchSnippet.h"

#include "app/store/PlainText.h"

#include <QList>
#include <QTextBoundaryFinder>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

// Fewer characters than this before the match and the snippet starts at the beginning.
constexpr int contextLimit = 41;
// Characters of context kept before a match further in.
constexpr int contextBefore = 24;

// The folded text and, for every one of its code units, the original characters it came from. Folding
// changes lengths ("ß" becomes "ss", "é" written with a combining accent becomes "e"), so it goes one
// user-perceived character at a time.
struct FoldedText {
    QString text;
    QList<qsizetype> from;
    QList<qsizetype> to;
};

FoldedText foldKeepingOffsets(const QString& text) {
    FoldedText folded;
    folded.text.reserve(text.size());
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    for (qsizetype end = characters.toNextBoundary(); end != -1; end = characters.toNextBoundary()) {
        const QChar first = text.at(start);
        // Plain ASCII needs no normalisation, and most notes are mostly ASCII.
        const QString piece = end - start == 1 && first.unicode() < 0x80
                                  ? QString(first.toCaseFolded())
                                  : Store::PlainText::fold(text.sliced(start, end - start));
        folded.text += piece;
        for (qsizetype i = 0; i < piece.size(); ++i) {
            folded.from.append(start);
            folded.to.append(end);
        }
        start = end;
    }
    return folded;
}

// Where the snippet starts: the beginning, or 24 characters before the match.
qsizetype snippetStart(const QString& text, qsizetype match) {
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    int before = 0;
    for (qsizetype at = 0; at < match && before < contextLimit; at = characters.toNextBoundary())
        ++before;
    if (before < contextLimit)
        return 0;
    characters.setPosition(match);
    qsizetype start = match;
    for (int i = 0; i < contextBefore; ++i)
        start = characters.toPreviousBoundary();
    return start;
}

} // namespace

SearchSnippet searchSnippet(const QString& previewText, const QString& query) {
    const QString needle = Store::PlainText::fold(query.trimmed());
    if (needle.isEmpty())
        return {previewText};
    const FoldedText folded = foldKeepingOffsets(previewText);
    const qsizetype found = folded.text.indexOf(needle);
    if (found < 0)
        return {previewText};
    const qsizetype match = folded.from.at(found);
    const qsizetype matchEnd = folded.to.at(found + needle.size() - 1);
    const qsizetype start = snippetStart(previewText, match);
    const QString prefix = start > 0 ? u"…"_s : QString();
    return {prefix + previewText.sliced(start), prefix.size() + match - start, matchEnd - match};
}

} // namespace Dovrin::Shell
