#pragma once

#include "app/shell/SearchPanelColors.h"

#include <QStyledItemDelegate>

namespace Dovrin::Shell {

// Draws one search result: the note's colour swatch, its title over its snippet (the match emphasised) and
// its Open or Closed badge; the selected row highlighted.
class SearchResultDelegate final : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY(SearchResultDelegate)

public:
    // What a row holds besides its title (Qt::DisplayRole).
    enum Role {
        noteIdRole = Qt::UserRole + 1,
        // Store::StickyColor, as an int
        colorRole,
        // SearchSnippet
        snippetRole,
        // The badge's text
        badgeRole,
        isOpenRole,
    };

    static constexpr int rowHeight = 54;

    using QStyledItemDelegate::QStyledItemDelegate;

    void setColors(const SearchPanelColors& colors) { m_colors = colors; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    SearchPanelColors m_colors;
};

} // namespace Dovrin::Shell
