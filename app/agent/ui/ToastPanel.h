#pragma once

#include "DesignGeometry.h"
#include "Toasts.h"

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QVBoxLayout;

namespace Dovrin::Agent {

class ToastView;

// The floating panel under the tray icon that shows the toast stack. It never takes focus, so pressing
// Undo leaves the user's typing where it was.
class ToastPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ToastPanel)

public:
    static constexpr qreal width = 372;
    static constexpr qreal height = 204;
    // Transparent margin around the stack; the first toast starts this far inside the panel.
    static constexpr int margin = 16;

    // `anchor` answers where the tray icon is, in Qt's screen coordinates, or nothing when unknown.
    ToastPanel(Toasts& toasts, std::function<std::optional<QRectF>()> anchor, QWidget* parent = nullptr);

    // The panel's origin (its bottom-left corner) in the design's coordinates: under the anchor on the
    // screen it is on, kept inside that screen's visible frame, else at the main screen's top-right corner.
    static QPointF origin(const std::optional<QRectF>& anchor,
                          const QList<DesignGeometry::ScreenFrames>& screens);

    // Moves the panel to where it belongs now and shows it without activating anything.
    void present();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void syncViews();
    void updateMask();
    void announce(const QString& text);

    Toasts& m_toasts;
    std::function<std::optional<QRectF>()> m_anchor;
    QWidget* m_stack = nullptr;
    QVBoxLayout* m_stackLayout = nullptr;
    QList<ToastView*> m_views;
    QLabel* m_announcer = nullptr;
};

} // namespace Dovrin::Agent
