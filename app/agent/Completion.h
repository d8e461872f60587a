#pragma once

#include <QCoreApplication>
#include <QMetaObject>

#include <functional>
#include <memory>
#include <utility>

namespace Dovrin::Agent {

// Runs `work` from the event loop, unless the application is gone or already closing down.
inline void runLater(std::function<void()> work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app && !QCoreApplication::closingDown())
        QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
}

// A completion handler that runs at most once, shared by all its copies. When the last copy goes without
// having run (its owner was torn down first), `ifDropped` runs instead, so whoever waits always gets one
// answer. `ifDropped` runs inside a destructor: it should only hand work on (runLater), not do it.
template <typename... Args> class Completion final {
public:
    Completion(std::function<void(Args...)> done, std::function<void()> ifDropped)
        : m_state(std::make_shared<State>(std::move(done), std::move(ifDropped))) {}

    void operator()(Args... args) const {
        m_state->ifDropped = nullptr;
        if (auto done = std::exchange(m_state->done, nullptr))
            done(std::forward<Args>(args)...);
    }

private:
    struct State {
        State(std::function<void(Args...)> done, std::function<void()> ifDropped)
            : done(std::move(done)), ifDropped(std::move(ifDropped)) {}
        State(const State&) = delete;
        State& operator=(const State&) = delete;
        ~State() {
            if (ifDropped)
                ifDropped();
        }

        std::function<void(Args...)> done;
        std::function<void()> ifDropped;
    };

    std::shared_ptr<State> m_state;
};

} // namespace Dovrin::Agent
