#include "app/stickies/PillButton.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace Dovrin::Stickies {

namespace {

constexpr int pillHeight = 24;
constexpr int sidePadding = 10;

} // namespace

PillButton::PillButton(const QString& text, bool prominent, QWidget* parent)
    : QAbstractButton(parent), m_prominent(prominent),
      m_colors(popoverColors(Store::StickyColor::yellow, Appearance::light)) {
    setText(text);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
}

void PillButton::setColors(const PopoverColors& colors) {
    m_colors = colors;
    update();
}

QFont PillButton::textFont() const {
    QFont font = this->font();
    font.setPixelSize(12);
    font.setWeight(m_prominent ? QFont::DemiBold : QFont::Medium);
    return font;
}

QSize PillButton::sizeHint() const {
    return {QFontMetrics(textFont()).horizontalAdvance(text()) + 2 * sidePadding, pillHeight};
}

void PillButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath pill;
    pill.addRoundedRect(shape, shape.height() / 2, shape.height() / 2);
    QColor text = m_colors.text;
    if (m_prominent) {
        QColor fill = m_colors.tint;
        if (isDown())
            fill = fill.darker(115);
        painter.fillPath(pill, fill);
        text = m_colors.onTint;
    } else if (m_underMouse || isDown()) {
        painter.fillPath(pill, isDown() ? m_colors.selectedBackground : m_colors.highlight);
    }
    if (!isEnabled())
        text.setAlphaF(text.alphaF() * 0.4f);
    painter.setFont(textFont());
    painter.setPen(text);
    painter.drawText(rect(), Qt::AlignCenter, this->text());
}

void PillButton::enterEvent(QEnterEvent* event) {
    m_underMouse = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PillButton::leaveEvent(QEvent* event) {
    m_underMouse = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace Dovrin::Stickies
