#include "ToastPanel.h"

#include "ToastView.h"

#include <QAccessible>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace Dovrin::Agent {

ToastPanel::ToastPanel(Toasts& toasts, std::function<std::optional<QRectF>()> anchor, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint),
      m_toasts(toasts), m_anchor(std::move(anchor)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(int(width), int(height));
    setWindowTitle(QStringLiteral("Dovrin"));

    m_stack = new QWidget(this);
    m_stack->setAttribute(Qt::WA_Hover);
    m_stack->installEventFilter(this);
    m_stackLayout = new QVBoxLayout(m_stack);
    m_stackLayout->setContentsMargins(0, 0, 0, 0);
    m_stackLayout->setSpacing(8);
    m_stackLayout->setSizeConstraint(QLayout::SetFixedSize);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(margin, margin, margin, margin);
    outer->addWidget(m_stack, 0, Qt::AlignTop | Qt::AlignHCenter);
    outer->addStretch(1);

    // Screen readers hear new toasts through this label's alerts; it is never drawn.
    m_announcer = new QLabel(this);
    m_announcer->hide();

    connect(&m_toasts, &Toasts::itemsChanged, this, &ToastPanel::syncViews);
    connect(&m_toasts, &Toasts::panelShown, this, &ToastPanel::present);
    connect(&m_toasts, &Toasts::panelHidden, this, &QWidget::hide);
    connect(&m_toasts, &Toasts::announcement, this, &ToastPanel::announce);
    m_toasts.setScreenReaderCheck([] { return QAccessible::isActive(); });
    syncViews();
}

QPointF ToastPanel::origin(const std::optional<QRectF>& anchor,
                           const QList<DesignGeometry::ScreenFrames>& screens) {
    if (anchor) {
        for (const DesignGeometry::ScreenFrames& screen : screens) {
            if (!screen.frame.intersects(*anchor))
                continue;
            const QRectF visible = screen.visibleFrame;
            qreal x = anchor->center().x() - width / 2;
            x = qMax(x, visible.left());
            x = qMin(x, visible.right() - width);
            qreal y = anchor->top() - 8 + margin - height;
            // A tray at the bottom of the screen (common here) would push the panel off screen.
            y = qMax(y, visible.top());
            return QPointF(x, y);
        }
    }
    if (screens.isEmpty())
        return QPointF(0, 0);
    const QRectF visible = screens.first().visibleFrame;
    return QPointF(visible.right() - 12 + margin - width, visible.bottom() - 12 + margin - height);
}

void ToastPanel::present() {
    const QRectF primary = DesignGeometry::primaryGeometry();
    std::optional<QRectF> anchor;
    if (const std::optional<QRectF> tray = m_anchor ? m_anchor() : std::nullopt; tray && !tray->isEmpty())
        anchor = DesignGeometry::fromQt(*tray, primary);
    const QPointF bottomLeft = origin(anchor, DesignGeometry::screens());
    const QRectF frame = DesignGeometry::toQt(QRectF(bottomLeft, QSizeF(width, height)), primary);
    move(frame.topLeft().toPoint());
    show();
    raise();
}

void ToastPanel::syncViews() {
    const QList<Toast>& items = m_toasts.items();
    for (ToastView* view : std::as_const(m_views)) {
        const bool showing = std::any_of(items.begin(), items.end(),
                                         [&](const Toast& toast) { return toast.id == view->toastID(); });
        if (!showing)
            view->leave();
    }
    QList<ToastView*> ordered;
    for (const Toast& toast : items) {
        const auto found = std::find_if(m_views.begin(), m_views.end(),
                                        [&](ToastView* view) { return view->toastID() == toast.id; });
        if (found != m_views.end()) {
            (*found)->setToast(toast);
            ordered.append(*found);
            continue;
        }
        auto* view = new ToastView(m_toasts, toast, m_stack);
        view->appear();
        ordered.append(view);
    }
    // Leaving views keep their place below the others until they have faded out.
    for (ToastView* view : ordered)
        m_stackLayout->removeWidget(view);
    for (int i = 0; i < ordered.size(); ++i) {
        m_stackLayout->insertWidget(i, ordered[i]);
        ordered[i]->show();
    }
    m_views = ordered;
    if (m_toasts.items().isEmpty())
        m_toasts.setHovering(false);
}

void ToastPanel::updateMask() {
    // Only the toasts take the pointer; clicks on the transparent rest reach the windows below.
    setMask(QRegion(m_stack->geometry().adjusted(-10, -10, 10, 10)));
}

void ToastPanel::announce(const QString& text) {
    if (!QAccessible::isActive())
        return;
    m_announcer->setAccessibleName(text);
    QAccessibleEvent changed(m_announcer, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
    QAccessibleEvent alert(m_announcer, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void ToastPanel::paintEvent(QPaintEvent*) {
    // A soft shadow under each toast, fading with it.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    constexpr int rings = 6;
    for (const ToastView* view : m_stack->findChildren<ToastView*>(Qt::FindDirectChildrenOnly)) {
        if (!view->isVisible())
            continue;
        const QRectF card = QRectF(view->geometry()).translated(m_stack->pos()).translated(0, 3);
        for (int ring = rings; ring >= 1; --ring) {
            painter.setBrush(QColor(0, 0, 0, int(0.14 * 255 * view->opacity() / rings)));
            const QRectF spread = card.adjusted(-ring, -ring, ring, ring);
            painter.drawRoundedRect(spread, ToastView::cornerRadius + ring, ToastView::cornerRadius + ring);
        }
    }
}

bool ToastPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_stack) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
            updateMask();
        else if (event->type() == QEvent::Enter || event->type() == QEvent::HoverEnter)
            m_toasts.setHovering(true);
        else if (event->type() == QEvent::Leave || event->type() == QEvent::HoverLeave)
            m_toasts.setHovering(false);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Dovrin::Agent
