#include "app/shell/SearchResultDelegate.h"

#include "app/shell/SearchSnippet.h"
#include "app/stickies/StickyPalette.h"
#include "app/store/Note.h"

#include <QPainter>
#include <QPainterPath>

namespace Dovrin::Shell {

namespace {

constexpr int inset = 8;
constexpr int padding = 12;
constexpr int swatchSize = 16;
constexpr int badgeHeight = 20;
constexpr qreal selectionRadius = 8;

QFont scaled(QFont font, qreal factor, QFont::Weight weight = QFont::Normal) {
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setWeight(weight);
    return font;
}

// The note's colour as a dot. The dark fills of stickies are too close to the dark card to tell apart, so
// in the dark the dot takes the colour's tint, which is as light as the light fills.
void drawSwatch(QPainter& painter, const QRectF& area, Store::StickyColor color,
                Stickies::Appearance appearance) {
    const bool dark = appearance == Stickies::Appearance::dark;
    const Stickies::StickyColors light = Stickies::stickyPalette(color, Stickies::Appearance::light);
    QColor edge = dark ? QColor(Qt::black) : light.tint;
    edge.setAlphaF(dark ? 0.25f : 0.45f);
    painter.setPen(QPen(edge, 1));
    painter.setBrush(dark ? Stickies::stickyPalette(color, appearance).tint : light.fill);
    painter.drawEllipse(area.adjusted(0.5, 0.5, -0.5, -0.5));
}

// One line of the snippet in up to three runs, the middle one emphasised; what does not fit ends in "…".
void drawSnippet(QPainter& painter, const QRect& area, const QFont& font, const SearchSnippet& snippet,
                 const SearchPanelColors& colors) {
    struct Run {
        QString text;
        QFont font;
        QColor color;
    };
    const QFont emphasis = scaled(font, 1, QFont::DemiBold);
    const qsizetype end = snippet.emphasisStart + snippet.emphasisLength;
    const Run runs[] = {
        {snippet.text.first(snippet.emphasisStart), font, colors.secondaryText},
        {snippet.text.sliced(snippet.emphasisStart, snippet.emphasisLength), emphasis, colors.text},
        {snippet.text.sliced(end), font, colors.secondaryText}};
    int x = area.left();
    for (const Run& run : runs) {
        if (run.text.isEmpty())
            continue;
        const QFontMetrics metrics(run.font);
        const int room = area.right() - x;
        const bool fits = metrics.horizontalAdvance(run.text) <= room;
        const QString shown = fits ? run.text : metrics.elidedText(run.text, Qt::ElideRight, room);
        painter.setFont(run.font);
        painter.setPen(run.color);
        painter.drawText(QRect(x, area.top(), room, area.height()), Qt::AlignLeft | Qt::AlignVCenter, shown);
        if (!fits)
            return;
        x += metrics.horizontalAdvance(run.text);
    }
}

} // namespace

void SearchResultDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRect row = option.rect.adjusted(inset, 1, -inset, -1);
    if (option.state & (QStyle::State_Selected | QStyle::State_MouseOver)) {
        QPainterPath shape;
        shape.addRoundedRect(QRectF(row), selectionRadius, selectionRadius);
        painter->fillPath(shape, option.state & QStyle::State_Selected ? m_colors.selection : m_colors.hover);
    }

    const QRectF swatch(row.left() + padding, row.center().y() - swatchSize / 2.0 + 0.5, swatchSize,
                        swatchSize);
    drawSwatch(*painter, swatch, Store::StickyColor(index.data(colorRole).toInt()), m_colors.appearance);

    const QFont base = option.font;
    const QFont badgeFont = scaled(base, 0.82, QFont::Medium);
    const QString badge = index.data(badgeRole).toString();
    const bool isOpen = index.data(isOpenRole).toBool();
    const int badgeWidth = QFontMetrics(badgeFont).horizontalAdvance(badge) + 16;
    const QRectF badgeRect(row.right() - padding - badgeWidth, row.center().y() - badgeHeight / 2.0 + 0.5,
                           badgeWidth, badgeHeight);
    QPainterPath pill;
    pill.addRoundedRect(badgeRect, badgeHeight / 2.0, badgeHeight / 2.0);
    painter->fillPath(pill, isOpen ? m_colors.openBadge : m_colors.badge);
    painter->setFont(badgeFont);
    painter->setPen(isOpen ? m_colors.openBadgeText : m_colors.badgeText);
    painter->drawText(badgeRect, Qt::AlignCenter, badge);

    const int textLeft = int(swatch.right()) + padding;
    const int textRight = int(badgeRect.left()) - padding;
    const QFont titleFont = scaled(base, 1.0, QFont::Medium);
    const QFont snippetFont = scaled(base, 0.92);
    const auto snippet = index.data(snippetRole).value<SearchSnippet>();
    const QString title = index.data(Qt::DisplayRole).toString();
    const int titleHeight = QFontMetrics(titleFont).height();
    const int snippetHeight = QFontMetrics(snippetFont).height();
    const int gap = 3;
    const int block = snippet.text.isEmpty() ? titleHeight : titleHeight + gap + snippetHeight;
    const int top = row.top() + (row.height() - block) / 2;
    const QRect titleArea(textLeft, top, textRight - textLeft, titleHeight);
    painter->setFont(titleFont);
    painter->setPen(m_colors.text);
    painter->drawText(titleArea, Qt::AlignLeft | Qt::AlignVCenter,
                      QFontMetrics(titleFont).elidedText(title, Qt::ElideRight, titleArea.width()));
    if (!snippet.text.isEmpty())
        drawSnippet(*painter, QRect(textLeft, top + titleHeight + gap, titleArea.width(), snippetHeight),
                    snippetFont, snippet, m_colors);
    painter->restore();
}

QSize SearchResultDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {option.rect.width(), rowHeight};
}

} // namespace Dovrin::Shell
