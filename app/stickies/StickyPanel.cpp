#include "app/stickies/StickyPanel.h"

#include "app/agent/ui/WindowDesktops.h"
#include "app/stickies/StickyPanelAccessible.h"
#include "app/stickies/StickyView.h"
#include "app/stickies/StickyViewDragStrip.h"
#include "app/stickies/StickyViewState.h"
#include "app/stickies/StickyViewTexts.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QPropertyAnimation>
#include <QVBoxLayout>
#include <QWindow>

namespace Dovrin::Stickies {

StickyPanel::StickyPanel(StickyViewState* state, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), m_state(state),
      m_view(new StickyView(state, this)) {
    installStickyPanelAccessible();
    setAttribute(Qt::WA_TranslucentBackground);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    // Size limits follow the note one turn later, so that a frame animation started in the same turn
    // as a collapse or expand is not cut short by them.
    m_sizeLimitsTimer.setSingleShot(true);
    m_sizeLimitsTimer.setInterval(0);
    connect(&m_sizeLimitsTimer, &QTimer::timeout, this, &StickyPanel::applySizeLimits);
    connect(m_state, &StickyViewState::noteChanged, this, &StickyPanel::applyNote);
    connect(m_state, &StickyViewState::provenanceChanged, this, &StickyPanel::applyTexts);
    applyNote();
    applySizeLimits();
}

void StickyPanel::applyNote() {
    const Store::Note& note = m_state->note();
    changeWindowFlag(Qt::WindowStaysOnTopHint, note.isFloating || m_keptOnTop);
    m_sizeLimitsTimer.start();
    applyTexts();
}

void StickyPanel::applySizeLimits() {
    if (isAnimatingFrame())
        return;
    const bool collapsed = m_state->note().isCollapsed;
    setMinimumSize(minimumWidth, collapsed ? StickyViewDragStrip::stripHeight : minimumExpandedHeight);
    setMaximumSize(QWIDGETSIZE_MAX, collapsed ? StickyViewDragStrip::stripHeight : QWIDGETSIZE_MAX);
}

void StickyPanel::applyTexts() {
    const Store::Note& note = m_state->note();
    setWindowTitle(StickyViewTexts::windowTitle(note));
    const QString value = StickyViewTexts::accessibilityValue(note, m_state->provenance());
    if (value == m_accessibleValue)
        return;
    m_accessibleValue = value;
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, value);
        QAccessible::updateAccessibility(&event);
    }
}

bool StickyPanel::isAnimatingFrame() const {
    return m_animation && m_animation->state() == QAbstractAnimation::Running;
}

void StickyPanel::setFrame(const QRect& frame, bool animated) {
    if (m_animation)
        m_animation->stop();
    // The limits of the state being left would clip the new frame, or stop the glide half way.
    setMinimumSize(minimumWidth, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (!animated || !isVisible()) {
        setGeometry(frame);
        applySizeLimits();
        return;
    }
    m_animation = new QPropertyAnimation(this, "geometry", this);
    m_animation->setDuration(frameAnimationMs);
    m_animation->setEasingCurve(QEasingCurve::InOutQuad);
    m_animation->setEndValue(frame);
    connect(m_animation, &QObject::destroyed, &m_sizeLimitsTimer, qOverload<>(&QTimer::start));
    connect(m_animation, &QAbstractAnimation::finished, this, &StickyPanel::frameAnimationFinished);
    m_animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void StickyPanel::setShowsInTaskbar(bool shown) {
    changeWindowFlag(Qt::Tool, !shown);
}

void StickyPanel::keepOnTop() {
    m_keptOnTop = true;
    changeWindowFlag(Qt::WindowStaysOnTopHint, true);
}

void StickyPanel::changeWindowFlag(Qt::WindowType flag, bool on) {
    if (windowFlags().testFlag(flag) == on)
        return;
    // The stacking hint changes on the live window; other flags make the native window again.
    if (QWindow* handle = windowHandle(); handle && flag == Qt::WindowStaysOnTopHint) {
        overrideWindowFlags(on ? windowFlags() | flag : windowFlags() & ~flag);
        handle->setFlags(windowFlags());
        return;
    }
    const bool wasVisible = isVisible();
    const bool wasActive = isActiveWindow();
    QPointer<QWidget> focused = focusWidget();
    setWindowFlag(flag, on);
    if (!wasVisible)
        return;
    // The window the user was typing in comes back with the keyboard, even if it first showed quietly.
    const bool quiet = testAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_ShowWithoutActivating, quiet && !wasActive);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, quiet);
    if (!wasActive)
        return;
    activateWindow();
    if (focused)
        focused->setFocus(Qt::ActiveWindowFocusReason);
}

void StickyPanel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange)
        m_state->setKey(isActiveWindow());
    QWidget::changeEvent(event);
}

void StickyPanel::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    emit frameChanged();
}

void StickyPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit frameChanged();
}

void StickyPanel::showEvent(QShowEvent* event) {
    // Before mapping for the window manager to read, and once more after it, because the platform may
    // map a freshly made native window in place of this one.
    Agent::joinAllDesktops(this);
    QTimer::singleShot(0, this, [this] { Agent::joinAllDesktops(this); });
    QWidget::showEvent(event);
}

void StickyPanel::closeEvent(QCloseEvent* event) {
    // A close from the window manager goes the same way as the close control, which saves first.
    event->ignore();
    m_state->request(StickyAction::close);
}

} // namespace Dovrin::Stickies
