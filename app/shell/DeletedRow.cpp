#include "app/shell/DeletedRow.h"

#include "app/core/ColorMix.h"
#include "app/core/RelativeTime.h"
#include "app/shell/DaysLeft.h"
#include "app/shell/QuietButton.h"
#include "app/shell/RecentlyDeleted.h"
#include "app/stickies/StickyPalette.h"
#include "app/stickies/StickyViewIcons.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QSpacerItem>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

constexpr int sidePadding = 12;
constexpr int verticalPadding = 10;
constexpr int swatchSize = 14;
constexpr int swatchGap = 12;
constexpr int buttonGap = 16;
constexpr int titleGap = 2;
constexpr int detailsGap = 6;
constexpr int detailGap = 2;
constexpr int sparkleSize = 11;
constexpr int sparkleGap = 4;
constexpr qreal hoverRadius = 8;
static_assert(sidePadding + swatchSize + swatchGap == DeletedRow::textIndent);

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightnessF() < 0.5;
}

// The note's colour as a dot, drawn as the search panel draws it: the dark fills of stickies are too close
// to a dark window to tell apart, so in the dark the dot takes the colour's tint.
void drawSwatch(QPainter& painter, const QRectF& area, Store::StickyColor color, bool dark) {
    const Stickies::StickyColors light = Stickies::stickyPalette(color, Stickies::Appearance::light);
    QColor edge = dark ? QColor(Qt::black) : light.tint;
    edge.setAlphaF(dark ? 0.25f : 0.45f);
    painter.setPen(QPen(edge, 1));
    painter.setBrush(dark ? Stickies::stickyPalette(color, Stickies::Appearance::dark).tint : light.fill);
    painter.drawEllipse(area.adjusted(0.5, 0.5, -0.5, -0.5));
}

// One line of text in `area` from `top`, cut short with "…" when it does not fit; returns its height.
int drawLine(QPainter& painter, const QRect& area, int top, const QString& text, const QFont& font,
             const QColor& color) {
    const QFontMetrics metrics(font);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QRect(area.left(), top, area.width(), metrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(text, Qt::ElideRight, area.width()));
    return metrics.height();
}

} // namespace

DeletedRow::DeletedRow(const Store::Note& note, const QDateTime& now, QWidget* parent)
    : QWidget(parent), m_id(note.id), m_color(note.color), m_title(Store::shownTitle(note.title())),
      m_preview(note.bodyLine()),
      // The window's texts share one translation context.
      m_restore(new QuietButton(RecentlyDeleted::tr("Restore"), this)),
      m_delete(new QuietButton(RecentlyDeleted::tr("Delete Immediately…"), this)) {
    if (note.deletedBy && !note.deletedBy->isEmpty())
        m_deletedBy = RecentlyDeleted::tr("Deleted by %1").arg(*note.deletedBy);
    const QDateTime deletedAt = note.deletedAt.value_or(now);
    m_when = RecentlyDeleted::tr("Deleted %1 · %n days left",
                                 "Recently Deleted row: when, then the days until it is gone for good",
                                 daysLeft(deletedAt, now))
                 .arg(Core::relativeTime(deletedAt, now));

    QStringList spoken{m_title, m_preview, m_deletedBy, m_when};
    spoken.removeAll(QString());
    setAccessibleName(spoken.join(u", "_s));

    m_textArea = new QSpacerItem(0, textHeight(), QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(textIndent, verticalPadding, sidePadding, verticalPadding);
    layout->setSpacing(8);
    layout->addSpacerItem(m_textArea);
    layout->addSpacing(buttonGap - layout->spacing());
    layout->addWidget(m_restore, 0, Qt::AlignVCenter);
    layout->addWidget(m_delete, 0, Qt::AlignVCenter);

    connect(m_restore, &QuietButton::clicked, this, &DeletedRow::restoreClicked);
    connect(m_delete, &QuietButton::clicked, this, &DeletedRow::deleteClicked);
}

DeletedRow::Fonts DeletedRow::fonts() const {
    Fonts fonts{font(), font(), font()};
    fonts.title.setWeight(QFont::DemiBold);
    fonts.detail.setPointSizeF(font().pointSizeF() * 0.9);
    return fonts;
}

int DeletedRow::textHeight() const {
    const Fonts fonts = this->fonts();
    const int detail = QFontMetrics(fonts.detail).height();
    int height = QFontMetrics(fonts.title).height() + detailsGap + detail;
    if (!m_preview.isEmpty())
        height += titleGap + QFontMetrics(fonts.body).height();
    if (!m_deletedBy.isEmpty())
        height += detailGap + detail;
    return height;
}

void DeletedRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor text = palette().color(QPalette::Text);
    const QColor secondary = palette().color(QPalette::PlaceholderText);
    if (underMouse()) {
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), hoverRadius, hoverRadius);
        painter.fillPath(shape, Core::withAlpha(text, 0.05f));
    }

    const Fonts fonts = this->fonts();
    const QRect area = m_textArea->geometry();
    int top = (height() - textHeight()) / 2;
    const int titleHeight = QFontMetrics(fonts.title).height();
    drawSwatch(painter, QRectF(sidePadding, top + (titleHeight - swatchSize) / 2.0, swatchSize, swatchSize),
               m_color, isDark(palette()));
    top += drawLine(painter, area, top, m_title, fonts.title, text);
    if (!m_preview.isEmpty())
        top += titleGap + drawLine(painter, area, top + titleGap, m_preview, fonts.body, secondary);
    top += detailsGap;
    if (!m_deletedBy.isEmpty()) {
        const int lineHeight = QFontMetrics(fonts.detail).height();
        painter.drawPixmap(area.left(), top + (lineHeight - sparkleSize) / 2,
                           Stickies::tintedGlyph(Stickies::StickyGlyph::sparkle,
                                                 QSize(sparkleSize, sparkleSize), secondary,
                                                 devicePixelRatioF()));
        const QRect afterSparkle = area.adjusted(sparkleSize + sparkleGap, 0, 0, 0);
        top += drawLine(painter, afterSparkle, top, m_deletedBy, fonts.detail, secondary) + detailGap;
    }
    drawLine(painter, area, top, m_when, fonts.detail, secondary);
}

void DeletedRow::enterEvent(QEnterEvent* event) {
    update();
    QWidget::enterEvent(event);
}

void DeletedRow::leaveEvent(QEvent* event) {
    update();
    QWidget::leaveEvent(event);
}

void DeletedRow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        m_textArea->changeSize(0, textHeight(), QSizePolicy::Expanding, QSizePolicy::Fixed);
        layout()->invalidate();
    }
    QWidget::changeEvent(event);
}

} // namespace Dovrin::Shell
