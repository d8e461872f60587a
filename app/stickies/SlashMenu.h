#pragma once

#include "app/stickies/PopoverColors.h"

#include <QList>
#include <QRect>
#include <QWidget>

namespace Dovrin::Stickies {

class SlashMenuModel;

// The slash menu's rows: each match with its glyph, name and Markdown hint, dividers between groups, the
// selected row highlighted, an empty state when nothing matches and a footer naming the keys. The page
// keeps the keyboard; the mouse can point at a row and click it.
class SlashMenu final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(SlashMenu)

public:
    static constexpr int menuWidth = 240;
    static constexpr int rowHeight = 28;

    explicit SlashMenu(SlashMenuModel& model, QWidget* parent = nullptr);

    SlashMenuModel& model() const { return m_model; }
    void setColors(const PopoverColors& colors);
    // The text shown when nothing matches the query.
    QString emptyText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // A click on the row of this index into the model's matches.
    void rowClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Layout {
        QList<QRect> rows;
        QList<int> separators;
        QRect empty;
        int footerTop = 0;
        int height = 0;
    };

    Layout layoutRows() const;
    int rowAt(QPoint position) const;
    void paintRow(QPainter& painter, int index, const QRect& rect) const;
    void paintFooter(QPainter& painter, const QRect& rect) const;

    SlashMenuModel& m_model;
    PopoverColors m_colors;
};

} // namespace Dovrin::Stickies
