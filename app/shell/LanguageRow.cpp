#include "app/shell/LanguageRow.h"

#include "app/core/ColorMix.h"
#include "app/stickies/StickyViewIcons.h"

#include <QPainter>
#include <QPainterPath>

namespace Dovrin::Shell {

namespace {

constexpr int rowHeight = 40;
constexpr int horizontalPadding = 14;
constexpr int checkSize = 16;
constexpr qreal cornerRadius = 8;

} // namespace

LanguageRow::LanguageRow(const QString& label, QWidget* parent) : QAbstractButton(parent) {
    setText(label);
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(label);
    QFont larger = font();
    larger.setPointSizeF(larger.pointSizeF() * 1.1);
    setFont(larger);
}

QSize LanguageRow::sizeHint() const {
    return {fontMetrics().horizontalAdvance(text()) + 2 * horizontalPadding + checkSize + 80, rowHeight};
}

void LanguageRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = palette().color(QPalette::WindowText);
    const QColor accent = palette().color(QPalette::Highlight);
    if (isChecked() || m_hovered) {
        QPainterPath background;
        background.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
        painter.fillPath(background,
                         isChecked() ? Core::withAlpha(accent, 0.16F) : Core::withAlpha(ink, 0.06F));
    }
    const QRect content = rect().adjusted(horizontalPadding, 0, -horizontalPadding, 0);
    painter.setPen(ink);
    painter.drawText(content, Qt::AlignVCenter | Qt::AlignLeft, text());
    if (isChecked()) {
        const QPixmap check = Stickies::tintedGlyph(Stickies::StickyGlyph::checkmark, {checkSize, checkSize},
                                                    accent, devicePixelRatioF());
        painter.drawPixmap(content.right() - checkSize, (height() - checkSize) / 2, check);
    }
}

void LanguageRow::enterEvent(QEnterEvent* event) {
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void LanguageRow::leaveEvent(QEvent* event) {
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace Dovrin::Shell
