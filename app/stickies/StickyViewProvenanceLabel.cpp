#include "app/stickies/StickyViewProvenanceLabel.h"

#include "app/stickies/StickyViewIcons.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace Dovrin::Stickies {

namespace {

// The sparkle stands where an 8-point bold symbol would.
constexpr int sparkleSize = 8;
constexpr int spacing = 4;

} // namespace

StickyViewProvenanceLabel::StickyViewProvenanceLabel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void StickyViewProvenanceLabel::setText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    updateGeometry();
    update();
}

void StickyViewProvenanceLabel::setColor(const QColor& color) {
    m_color = color;
    update();
}

QFont StickyViewProvenanceLabel::textFont() const {
    QFont font = this->font();
    font.setPixelSize(11);
    font.setWeight(QFont::Medium);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.055);
    return font;
}

QSize StickyViewProvenanceLabel::sizeHint() const {
    const QFontMetricsF metrics(textFont());
    const int width = sparkleSize + spacing + int(std::ceil(metrics.horizontalAdvance(m_text)));
    return {width, int(std::ceil(std::max<qreal>(metrics.height(), sparkleSize)))};
}

void StickyViewProvenanceLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal middle = height() / 2.0;
    painter.drawPixmap(
        QPointF(0, middle - sparkleSize / 2.0),
        tintedGlyph(StickyGlyph::sparkle, QSize(sparkleSize, sparkleSize), m_color, devicePixelRatioF()));
    painter.setFont(textFont());
    painter.setPen(m_color);
    const QRect textRect = rect().adjusted(sparkleSize + spacing, 0, 0, 0);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetrics(textFont()).elidedText(m_text, Qt::ElideRight, textRect.width()));
}

} // namespace Dovrin::Stickies
