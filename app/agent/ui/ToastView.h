#pragma once

#include "Toasts.h"

#include <QWidget>

class QBoxLayout;
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

    ToastView(Toasts& toasts, const Toast& toast, QWidget* parent = nullptr);

    QUuid toastID() const { return m_toastID; }
    // Shows the toast's current message and buttons (it may have been replaced in place).
    void setToast(const Toast& toast);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Toasts& m_toasts;
    QUuid m_toastID;
    QLabel* m_message = nullptr;
    QBoxLayout* m_buttons = nullptr;
    QToolButton* m_close = nullptr;
    bool m_hovered = false;
};

} // namespace Dovrin::Agent
