#pragma once

#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>

class QPropertyAnimation;

namespace Dovrin::Stickies {

class StickyView;
class StickyViewState;

// The sticky window: frameless, translucent and on every desktop, so only the note's rounded shape
// shows. It keeps its title, accessibility texts, stacking and size limits in step with the state; its
// owner positions it and answers the actions the state reports.
class StickyPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(StickyPanel)

public:
    static constexpr int minimumWidth = 200;
    static constexpr int minimumExpandedHeight = 160;
    // How long an animated frame change takes.
    static constexpr int frameAnimationMs = 300;

    explicit StickyPanel(StickyViewState* state, QWidget* parent = nullptr);

    StickyViewState* state() const { return m_state; }
    StickyView* view() const { return m_view; }

    // Moves and resizes the window (Qt coordinates), gliding there when animated. A new call replaces
    // an animation still running.
    void setFrame(const QRect& frame, bool animated);
    bool isAnimatingFrame() const;
    // Whether the window has its own taskbar entry, as when Dovrin has no tray icon.
    void setShowsInTaskbar(bool shown);
    // Above other windows from now until the sticky goes, whether or not the note floats: a note shown
    // over another application's full-screen window.
    void keepOnTop();

    // The accessibility value screen readers read for the window.
    QString accessibleValue() const { return m_accessibleValue; }

signals:
    // The window moved or changed size, by the user or the program.
    void frameChanged();
    // An animated frame change reached its end.
    void frameAnimationFinished();

protected:
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void applyNote();
    void applyTexts();
    void applySizeLimits();
    // Making the native window again hides it and drops its focus; the window comes back as it was.
    void changeWindowFlag(Qt::WindowType flag, bool on);

    StickyViewState* m_state;
    StickyView* m_view;
    QPointer<QPropertyAnimation> m_animation;
    QString m_accessibleValue;
    QTimer m_sizeLimitsTimer;
    bool m_keptOnTop = false;
};

} // namespace Dovrin::Stickies
