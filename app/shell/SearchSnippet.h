#pragma once

#include <QString>

namespace Dovrin::Shell {

// The line a search result shows under its title: the note's preview text, cut so that the first match
// of the query is in view, and where that match lies in it.
struct SearchSnippet {
    QString text;
    // The matched characters of `text`, as written in the note; a length of 0 emphasises nothing.
    qsizetype emphasisStart = 0;
    qsizetype emphasisLength = 0;

    friend bool operator==(const SearchSnippet&, const SearchSnippet&) = default;
};

// The query is found the way the store finds it (case, diacritics and width ignored), in the original
// characters of `previewText`. A match with 41 or more characters before it starts the snippet 24 characters
// before it, after "…".
SearchSnippet searchSnippet(const QString& previewText, const QString& query);

} // namespace Dovrin::Shell
