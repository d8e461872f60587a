#pragma once

#include "app/agent/Toasts.h"
#include "app/core/ScreenSpace.h"

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;

namespace Dovrin::Agent {

class ToastView;

// The floating panel under the tray icon that shows the toast stack. It never takes focus, so pressing
// Undo leaves the user's typing where it was.
class ToastPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ToastPanel)

public:
    static constexpr qreal width = 372;
    // The least height; with taller toasts the panel grows downwards to hold every one of them.
    static constexpr qreal height = 204;
    // Transparent margin around the stack; the first toast starts this far inside the panel.
    static constexpr int margin = 16;
    static constexpr int spacing = 8;

    // `anchor` answers where the tray icon is, in Qt's screen coordinates, or nothing when unknown.
    ToastPanel(Toasts& toasts, std::function<std::optional<QRectF>()> anchor, QWidget* parent = nullptr);

    // The panel's origin (its bottom-left corner) in y-up screen coordinates: under the anchor on the
    // screen it is on, kept inside that screen's visible frame, else at the main screen's top-right corner.
    // Its top stays there whatever its height.
    static QPointF origin(const std::optional<QRectF>& anchor,
                          const QList<Core::ScreenSpace::ScreenFrames>& screens, qreal panelHeight = height);

    // Moves the panel to where it belongs now and shows it without activating anything.
    void present();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void syncViews();
    // Sizes the panel to hold every toast, showing or leaving, and keeps it where it belongs.
    void fitToViews();
    void place();
    void updateMask();
    void announce(const QString& text);

    Toasts& m_toasts;
    std::function<std::optional<QRectF>()> m_anchor;
    // Holds the toasts, placed by hand so that they can move in and out; it covers the whole panel, so a
    // toast coming in from above shows as soon as it crosses the panel's top edge.
    QWidget* m_stack = nullptr;
    QList<ToastView*> m_views;
    QList<ToastView*> m_leaving;
    int m_contentBottom = margin;
    QLabel* m_announcer = nullptr;
};

} // namespace Dovrin::Agent
