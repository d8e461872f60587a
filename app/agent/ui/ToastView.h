#pragma once

#include "app/agent/Toasts.h"

#include <QEasingCurve>
#include <QPointer>
#include <QWidget>

#include <functional>

class QBoxLayout;
class QGraphicsOpacityEffect;
class QLabel;
class QPropertyAnimation;
class QToolButton;

namespace Dovrin::Agent {

// How one change of the toast stack animates: toasts come and go moving along the top edge and fading, as
// one transaction with one timing.
struct ToastMotion {
    // 0: at once.
    int ms = 0;
    QEasingCurve curve;
    // Off with Reduce Motion: toasts then only fade, and every place changes at once.
    bool moves = true;

    // A toast arrives: a spring of 0.5 s response and 0.85 damping.
    static ToastMotion arrival(bool reduceMotion);
    // Toasts only go: an ease-out of 0.2 s.
    static ToastMotion removal(bool reduceMotion);
};

// One toast: sparkle, message, its buttons and a close button. Pressing a button goes back to the model.
class ToastView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ToastView)

public:
    static constexpr int width = 340;
    static constexpr int minimumHeight = 44;
    static constexpr int cornerRadius = 12;

    ToastView(Toasts& toasts, const Toast& toast, QWidget* parent = nullptr);

    QUuid toastID() const { return m_toastID; }
    // Shows the toast's current message and buttons (it may have been replaced in place).
    void setToast(const Toast& toast);

    // The height its message and buttons need at the fixed width.
    int fittingHeight() const;
    // Where the toast rests in the stack (its top-left corner), also while it moves there or away.
    QPoint slot() const { return m_slot; }

    // Comes in from the top edge, its own height above its slot, fading in.
    void appear(QPoint slot, const ToastMotion& motion);
    // Goes to its slot in the stack: the stack changed above it, or its own height did.
    void settle(QPoint slot, const ToastMotion& motion);
    // Moves out to the top edge and fades, then emits left() and deletes itself; the model has already let
    // the toast go.
    void leave(const ToastMotion& motion);
    bool isLeaving() const { return m_leaving; }
    qreal opacity() const;

signals:
    void left();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void animate(QPointer<QPropertyAnimation>& running, QObject* target, const QByteArray& property,
                 const QVariant& to, const ToastMotion& motion, std::function<void()> done = {});

    Toasts& m_toasts;
    QUuid m_toastID;
    QLabel* m_message = nullptr;
    QBoxLayout* m_buttons = nullptr;
    QToolButton* m_close = nullptr;
    QGraphicsOpacityEffect* m_opacity = nullptr;
    QPointer<QPropertyAnimation> m_slide;
    QPointer<QPropertyAnimation> m_fade;
    QPoint m_slot;
    bool m_hovered = false;
    bool m_leaving = false;
};

} // namespace Dovrin::Agent
