#pragma once

#include <QDateTime>

#include <functional>

namespace Dovrin::Core {

// Time as the agent side sees it. Toast lifetimes, the hover pause and the idle icon run on it, so tests
// can drive them by hand instead of sleeping. Callbacks run on the main thread.
class Clock {
public:
    using TaskID = quint64;

    virtual ~Clock() = default;

    virtual QDateTime now() const = 0;
    // Milliseconds on a clock that never jumps; only differences mean anything.
    virtual qint64 monotonicMs() const = 0;
    // Runs `callback` once, `delayMs` from now, unless cancelled first.
    virtual TaskID schedule(qint64 delayMs, std::function<void()> callback) = 0;
    // Cancelling a task that already ran, or an unknown one, does nothing.
    virtual void cancel(TaskID task) = 0;

    // The real clock (wall time, QElapsedTimer, QTimer), shared by the whole process.
    static Clock& system();
};

// A pending callback that is cancelled when the handle is reset or destroyed, so an object that goes away
// never gets called back.
class ScheduledTask final {
public:
    ScheduledTask() = default;
    ~ScheduledTask() { reset(); }
    ScheduledTask(const ScheduledTask&) = delete;
    ScheduledTask& operator=(const ScheduledTask&) = delete;

    void start(Clock& clock, qint64 delayMs, std::function<void()> callback);
    void reset();
    bool isPending() const { return m_clock != nullptr; }

private:
    Clock* m_clock = nullptr;
    Clock::TaskID m_task = 0;
};

} // namespace Dovrin::Core
