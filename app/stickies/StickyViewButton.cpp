#include "app/stickies/StickyViewButton.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace Dovrin::Stickies {

namespace {

constexpr QSize glyphFrame{24, 22};
constexpr int glyphSize = 12;
constexpr int textGap = 2;
constexpr int textTrailing = 8;

} // namespace

StickyViewButton::StickyViewButton(StickyGlyph glyph, QWidget* parent)
    : QAbstractButton(parent), m_glyph(glyph) {
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
}

void StickyViewButton::setGlyph(StickyGlyph glyph) {
    m_glyph = glyph;
    update();
}

void StickyViewButton::setTint(const QColor& tint, const QColor& highlight) {
    m_tint = tint;
    m_highlight = highlight;
    update();
}

void StickyViewButton::setTextShown(bool shown) {
    if (shown == m_textShown)
        return;
    m_textShown = shown;
    updateGeometry();
    update();
}

QFont StickyViewButton::textFont() const {
    QFont font = this->font();
    font.setPixelSize(11);
    font.setWeight(QFont::Medium);
    return font;
}

QSize StickyViewButton::sizeHint() const {
    if (!m_textShown)
        return glyphFrame;
    const int textWidth = QFontMetrics(textFont()).horizontalAdvance(text());
    return {glyphFrame.width() + textGap + textWidth + textTrailing, glyphFrame.height()};
}

void StickyViewButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if ((m_underMouse || isDown()) && isEnabled()) {
        QPainterPath background;
        background.addRoundedRect(QRectF(rect()), 6, 6);
        painter.fillPath(background, m_highlight);
    }
    QColor tint = m_tint;
    if (!isEnabled())
        tint.setAlphaF(tint.alphaF() * 0.4f);
    const QPixmap glyph = tintedGlyph(m_glyph, QSize(glyphSize, glyphSize), tint, devicePixelRatioF());
    const QRect glyphRect(QPoint(0, 0), glyphFrame);
    painter.drawPixmap(QRectF(glyphRect).center() - QPointF(glyphSize / 2.0, glyphSize / 2.0), glyph);
    if (m_textShown) {
        painter.setFont(textFont());
        painter.setPen(tint);
        const QRect textRect = rect().adjusted(glyphFrame.width() + textGap, 0, 0, 0);
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text());
    }
}

void StickyViewButton::enterEvent(QEnterEvent* event) {
    m_underMouse = true;
    update();
    QAbstractButton::enterEvent(event);
}

void StickyViewButton::leaveEvent(QEvent* event) {
    m_underMouse = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace Dovrin::Stickies
