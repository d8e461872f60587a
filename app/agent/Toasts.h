#pragma once

#include "app/core/Clock.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

namespace Dovrin::Agent {

// What a toast is about; two toasts with equal keys are the same notice.
struct ToastKey {
    enum class Kind { created, edited, deleted, connected, denied };

    QString agent;
    Kind kind = Kind::connected;
    std::optional<QUuid> note;

    friend bool operator==(const ToastKey&, const ToastKey&) = default;
};

size_t qHash(const ToastKey& key, size_t seed = 0);

// A toast's button.
struct ToastAction {
    QUuid id = QUuid::createUuid();
    QString title;
    std::function<void()> run;
};

struct Toast {
    // Stable for the toast's life, also when it is replaced in place.
    QUuid id;
    ToastKey key;
    std::optional<QUuid> entryID;
    QString message;
    QList<ToastAction> actions;
    // Seconds left; frozen while the pointer is over the stack.
    double remaining = 0;
};

// The stack of short notices about AI activity, newest first, at most three. The panel that shows them
// lives with the views and follows the signals below.
class Toasts final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(Toasts)

public:
    static constexpr int maxCount = 3;
    static constexpr double lifetime = 6;
    // With a screen reader running, a toast with buttons stays long enough to reach them.
    static constexpr double accessibleLifetime = 20;
    static constexpr qint64 tickMs = 250;

    explicit Toasts(Core::Clock& clock, QObject* parent = nullptr);
    ~Toasts() override;

    const QList<Toast>& items() const { return m_items; }

    // Adds a toast, or replaces the one with an equal key in place (same id, full lifetime again).
    void show(const ToastKey& key, const std::optional<QUuid>& entryID, const QString& message,
              const QList<ToastAction>& actions, const QString& spokenText);
    std::optional<Toast> toastFor(const ToastKey& key) const;
    // By identity.
    void dismiss(const Toast& toast);
    // The toast announcing that entry, if one shows.
    void dismiss(const QUuid& entryID);
    // Runs the action of a showing toast (its button was pressed); unknown ids do nothing.
    void runAction(const QUuid& toastID, const QUuid& actionID);

    bool isHovering() const { return m_isHovering; }
    void setHovering(bool hovering);

    // Whether a screen reader is running; the views set it (the model has no GUI to ask).
    void setScreenReaderCheck(std::function<bool()> check) { m_screenReaderRunning = std::move(check); }

signals:
    // The list changed: a toast came, went or was replaced. `remaining` changes come with ticked().
    void itemsChanged();
    void ticked();
    // The panel should be placed and ordered front without taking focus / ordered out.
    void panelShown();
    void panelHidden();
    // Text for the screen reader, to be spoken at high priority.
    void announcement(const QString& text);

private:
    void startTicker();
    void tick();
    void removeWhere(const std::function<bool(const Toast&)>& predicate);

    Core::Clock& m_clock;
    QList<Toast> m_items;
    bool m_isHovering = false;
    std::function<bool()> m_screenReaderRunning = [] { return false; };
    Core::ScheduledTask m_ticker;
};

} // namespace Dovrin::Agent
