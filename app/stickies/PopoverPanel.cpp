#include "app/stickies/PopoverPanel.h"

#include "app/core/ScreenSpace.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace Dovrin::Stickies {

namespace {

constexpr int padding = 4;

Qt::WindowFlags flagsFor(PopoverPanel::Focus focus) {
    if (focus == PopoverPanel::Focus::takes)
        return Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;
    // A tooltip-type window is never given the focus, by the window manager or by Qt itself (a plain tool
    // window is activated when shown on some platforms, which would take the caret from the editor).
    return Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint;
}

} // namespace

PopoverPanel::PopoverPanel(QWidget* host, Focus focus, QWidget* sticky)
    : QWidget(sticky, flagsFor(focus)), m_host(host),
      m_colors(popoverColors(Store::StickyColor::yellow, Appearance::light)) {
    setAttribute(Qt::WA_TranslucentBackground);
    if (focus == Focus::never) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_X11DoNotAcceptFocus);
        setFocusPolicy(Qt::NoFocus);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->addWidget(host);
}

void PopoverPanel::setColors(const PopoverColors& colors) {
    m_colors = colors;
    update();
}

QSizeF PopoverPanel::fittingSize() {
    layout()->activate();
    return QSizeF(sizeHint().expandedTo(minimumSizeHint()));
}

void PopoverPanel::present(const QRectF& frame) {
    setGeometry(Core::ScreenSpace::toWindow(frame));
    if (!isVisible())
        show();
    raise();
}

void PopoverPanel::dismiss() {
    if (isVisible())
        hide();
}

void PopoverPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(shape, cornerRadius, cornerRadius);
    painter.setPen(QPen(m_colors.border, 1));
    painter.setBrush(m_colors.background);
    painter.drawPath(path);
}

void PopoverPanel::enterEvent(QEnterEvent* event) {
    emit mouseEntered();
    QWidget::enterEvent(event);
}

void PopoverPanel::leaveEvent(QEvent* event) {
    emit mouseLeft();
    QWidget::leaveEvent(event);
}

void PopoverPanel::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit dismissed();
}

} // namespace Dovrin::Stickies
