#include "app/agent/Toasts.h"

#include <QHashFunctions>

namespace Dovrin::Agent {

size_t qHash(const ToastKey& key, size_t seed) {
    return qHashMulti(seed, key.agent, int(key.kind), key.note.value_or(QUuid()), key.note.has_value());
}

Toasts::Toasts(Core::Clock& clock, QObject* parent) : QObject(parent), m_clock(clock) {}

Toasts::~Toasts() = default;

void Toasts::show(const ToastKey& key, const std::optional<QUuid>& entryID, const QString& message,
                  const QList<ToastAction>& actions, const QString& spokenText) {
    const double life = m_screenReaderRunning() && !actions.isEmpty() ? accessibleLifetime : lifetime;
    auto existing =
        std::find_if(m_items.begin(), m_items.end(), [&](const Toast& t) { return t.key == key; });
    if (existing != m_items.end()) {
        existing->entryID = entryID;
        existing->message = message;
        existing->actions = actions;
        existing->remaining = life;
    } else {
        m_items.prepend(Toast{QUuid::createUuid(), key, entryID, message, actions, life});
        if (m_items.size() > maxCount)
            m_items.removeLast();
    }
    emit itemsChanged();
    emit announcement(spokenText);
    emit panelShown();
    startTicker();
}

std::optional<Toast> Toasts::toastFor(const ToastKey& key) const {
    for (const Toast& toast : m_items) {
        if (toast.key == key)
            return toast;
    }
    return std::nullopt;
}

// Both take copies first: the argument may live in the very list being thinned out.
void Toasts::dismiss(const Toast& toast) {
    removeWhere([id = toast.id](const Toast& t) { return t.id == id; });
}

void Toasts::dismiss(const QUuid& entryID) {
    removeWhere([entry = entryID](const Toast& t) { return t.entryID == entry; });
}

void Toasts::runAction(const QUuid& toastID, const QUuid& actionID) {
    for (const Toast& toast : std::as_const(m_items)) {
        if (toast.id != toastID)
            continue;
        for (const ToastAction& action : toast.actions) {
            if (action.id == actionID && action.run) {
                // The action may dismiss this very toast, so it runs from a copy.
                const std::function<void()> run = action.run;
                run();
                return;
            }
        }
    }
}

void Toasts::setHovering(bool hovering) {
    m_isHovering = hovering;
}

void Toasts::startTicker() {
    if (m_ticker.isPending())
        return;
    m_ticker.start(m_clock, tickMs, [this] { tick(); });
}

void Toasts::tick() {
    if (!m_isHovering && !m_items.isEmpty()) {
        for (Toast& toast : m_items)
            toast.remaining -= double(tickMs) / 1000;
        emit ticked();
        removeWhere([](const Toast& t) { return t.remaining <= 0; });
    }
    if (!m_items.isEmpty()) {
        startTicker();
        return;
    }
    // One more beat before hiding, so a toast arriving right now reuses the panel as it is.
    m_ticker.start(m_clock, tickMs, [this] {
        if (m_items.isEmpty()) {
            emit panelHidden();
        } else {
            emit panelShown();
            startTicker();
        }
    });
}

void Toasts::removeWhere(const std::function<bool(const Toast&)>& predicate) {
    if (m_items.removeIf(predicate) > 0)
        emit itemsChanged();
}

} // namespace Dovrin::Agent
