#pragma once

#include "Toasts.h"

#include <QWidget>

#include <functional>

class QBoxLayout;
class QGraphicsOpacityEffect;
class QLabel;
class QToolButton;

namespace Dovrin::Agent {

// One toast: sparkle, message, its buttons and a close button. Pressing a button goes back to the model.
class ToastView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ToastView)

public:
    static constexpr int width = 340;
    static constexpr int minimumHeight = 44;
    static constexpr int cornerRadius = 12;
    // Toasts fade in and out; they never slide, which also suits reduced motion.
    static constexpr int fadeMs = 200;

    ToastView(Toasts& toasts, const Toast& toast, QWidget* parent = nullptr);

    QUuid toastID() const { return m_toastID; }
    // Shows the toast's current message and buttons (it may have been replaced in place).
    void setToast(const Toast& toast);

    void appear();
    // Fades out and deletes itself; the model has already let the toast go.
    void leave();
    bool isLeaving() const { return m_leaving; }
    qreal opacity() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void fade(qreal to, std::function<void()> done);

    Toasts& m_toasts;
    QUuid m_toastID;
    QLabel* m_message = nullptr;
    QBoxLayout* m_buttons = nullptr;
    QToolButton* m_close = nullptr;
    QGraphicsOpacityEffect* m_opacity = nullptr;
    bool m_hovered = false;
    bool m_leaving = false;
};

} // namespace Dovrin::Agent
