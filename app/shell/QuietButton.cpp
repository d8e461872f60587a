#include "app/shell/QuietButton.h"

#include "app/core/ColorMix.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

namespace Dovrin::Shell {

namespace {

constexpr int sidePadding = 12;
constexpr int verticalPadding = 6;
constexpr qreal radius = 7;

} // namespace

QuietButton::QuietButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAttribute(Qt::WA_Hover);
    setAutoDefault(false);
}

QSize QuietButton::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 2 * sidePadding, metrics.height() + 2 * verticalPadding};
}

void QuietButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor text = palette().color(QPalette::ButtonText);
    const bool dark = palette().color(QPalette::Window).lightnessF() < 0.5;
    // Dark fills need a little more of the text colour to stand out as much.
    float fill = dark ? 0.10f : 0.065f;
    if (isDown())
        fill *= 2.4f;
    else if (underMouse())
        fill *= 1.6f;
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), radius, radius);
    painter.fillPath(shape, Core::withAlpha(text, isEnabled() ? fill : fill / 2));
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawPath(shape);
    }
    painter.setPen(isEnabled() ? text : Core::withAlpha(text, 0.4f));
    painter.drawText(rect(), Qt::AlignCenter, this->text());
}

bool QuietButton::event(QEvent* event) {
    // The fill follows the pointer.
    if (event->type() == QEvent::HoverEnter || event->type() == QEvent::HoverLeave)
        update();
    return QPushButton::event(event);
}

} // namespace Dovrin::Shell
