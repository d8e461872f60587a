#pragma once

#include <QString>
#include <QStringList>

namespace Dovrin::Store::PlainText {

using namespace Qt::StringLiterals;

// The plain-text view of a note's Markdown: one entry per non-blank source line, with block markers,
// link targets and emphasis marks removed. An entry may be empty (a line that was only "**").
QStringList plainLines(const QString& markdown);

// The first plain line, or "" when there is none.
QString title(const QString& markdown);

// The non-empty plain lines after the first, joined by " · ".
QString bodyLine(const QString& markdown);

// A Markdown image, "![alt](target)", as a regular expression whose first group is the alt text; `target`
// is the pattern for what stands between the parentheses. Copying a note as text and an AI reading its
// images both recognise images by it.
QString imagePattern(const QString& target = u"[^)]*"_s);

// Case-, diacritic- and width-insensitive folding with no locale; search columns and queries use it.
QString fold(const QString& text);

} // namespace Dovrin::Store::PlainText
