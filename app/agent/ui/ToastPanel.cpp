#include "app/agent/ui/ToastPanel.h"

#include "app/agent/ui/ReduceMotion.h"
#include "app/agent/ui/ToastView.h"
#include "app/agent/ui/WindowDesktops.h"

#include <QAccessible>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>

using namespace Qt::StringLiterals;

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
    setWindowTitle(u"Dovrin"_s);

    m_stack = new QWidget(this);
    m_stack->setAttribute(Qt::WA_Hover);
    m_stack->installEventFilter(this);
    m_stack->setGeometry(rect());

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
                           const QList<Core::ScreenSpace::ScreenFrames>& screens, qreal panelHeight) {
    if (anchor) {
        for (const Core::ScreenSpace::ScreenFrames& screen : screens) {
            if (!screen.frame.intersects(*anchor))
                continue;
            const QRectF visible = screen.visibleFrame;
            qreal x = anchor->center().x() - width / 2;
            x = qMax(x, visible.left());
            x = qMin(x, visible.right() - width);
            qreal y = anchor->top() - 8 + margin - panelHeight;
            // A tray at the bottom of the screen (common here) would push the panel off screen.
            y = qMax(y, visible.top());
            return QPointF(x, y);
        }
    }
    if (screens.isEmpty())
        return QPointF(0, 0);
    const QRectF visible = screens.first().visibleFrame;
    return QPointF(visible.right() - 12 + margin - width, visible.bottom() - 12 + margin - panelHeight);
}

void ToastPanel::present() {
    place();
    show();
    raise();
}

void ToastPanel::place() {
    const QRectF primary = Core::ScreenSpace::primaryGeometry();
    std::optional<QRectF> anchor;
    if (const std::optional<QRectF> tray = m_anchor ? m_anchor() : std::nullopt; tray && !tray->isEmpty())
        anchor = Core::ScreenSpace::fromQt(*tray, primary);
    const qreal panelHeight = QWidget::height();
    const QPointF bottomLeft = origin(anchor, Core::ScreenSpace::screens(), panelHeight);
    const QRectF frame = Core::ScreenSpace::toQt(QRectF(bottomLeft, QSizeF(width, panelHeight)), primary);
    move(frame.topLeft().toPoint());
}

void ToastPanel::syncViews() {
    const QList<Toast>& items = m_toasts.items();
    QList<ToastView*> ordered;
    bool arrived = false;
    for (const Toast& toast : items) {
        const auto found = std::find_if(m_views.begin(), m_views.end(),
                                        [&](ToastView* view) { return view->toastID() == toast.id; });
        if (found != m_views.end()) {
            (*found)->setToast(toast);
            ordered.append(*found);
        } else {
            ordered.append(new ToastView(m_toasts, toast, m_stack));
            arrived = true;
        }
    }
    // One change of the list is one animation, timed by what it was; a toast replaced in place moves
    // nothing.
    const bool reduced = reduceMotion();
    const ToastMotion motion = arrived ? ToastMotion::arrival(reduced) : ToastMotion::removal(reduced);
    bool went = false;
    for (ToastView* view : std::as_const(m_views)) {
        if (ordered.contains(view))
            continue;
        went = true;
        // A leaving toast keeps its room in the panel until it is gone.
        m_leaving.append(view);
        connect(view, &ToastView::left, this, [this, view] {
            m_leaving.removeOne(view);
            fitToViews();
        });
        view->leave(motion);
    }
    int y = margin;
    for (ToastView* view : std::as_const(ordered)) {
        view->resize(ToastView::width, view->fittingHeight());
        const QPoint slot(margin, y);
        if (m_views.contains(view)) {
            view->settle(slot, arrived || went ? motion : ToastMotion{});
        } else {
            view->appear(slot, motion);
            view->show();
        }
        y += view->height() + spacing;
    }
    m_views = ordered;
    fitToViews();
    if (items.isEmpty())
        m_toasts.setHovering(false);
}

void ToastPanel::fitToViews() {
    int bottom = margin;
    for (const QList<ToastView*>* views : {&m_views, &m_leaving}) {
        for (const ToastView* view : *views)
            bottom = qMax(bottom, view->slot().y() + view->height());
    }
    m_contentBottom = bottom;
    const int panelHeight = qMax(int(height), bottom + margin);
    if (panelHeight != QWidget::height()) {
        setFixedSize(int(width), panelHeight);
        if (isVisible())
            place();
    }
    updateMask();
    update();
}

void ToastPanel::updateMask() {
    // Only the toasts take the pointer; clicks on the transparent rest reach the windows below.
    const QRect toasts(margin, margin, ToastView::width, m_contentBottom - margin);
    setMask(QRegion(toasts.adjusted(-10, -10, 10, 10)));
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

void ToastPanel::resizeEvent(QResizeEvent* event) {
    m_stack->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void ToastPanel::showEvent(QShowEvent* event) {
    // Toasts follow the user to every virtual desktop, as stickies do: before mapping for the window
    // manager to read, and once more after it, because the platform may map a freshly made native window.
    joinAllDesktops(this);
    QTimer::singleShot(0, this, [this] { joinAllDesktops(this); });
    QWidget::showEvent(event);
}

bool ToastPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_stack) {
        if (event->type() == QEvent::Enter || event->type() == QEvent::HoverEnter)
            m_toasts.setHovering(true);
        else if (event->type() == QEvent::Leave || event->type() == QEvent::HoverLeave)
            m_toasts.setHovering(false);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Dovrin::Agent
