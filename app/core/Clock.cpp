#include "app/core/Clock.h"

#include <QElapsedTimer>
#include <QHash>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace Dovrin::Core {

namespace {

class SystemClock final : public Clock {
public:
    SystemClock() { m_elapsed.start(); }

    QDateTime now() const override { return QDateTime::currentDateTimeUtc(); }
    qint64 monotonicMs() const override { return m_elapsed.elapsed(); }

    TaskID schedule(qint64 delayMs, std::function<void()> callback) override {
        const TaskID task = m_nextID++;
        auto* timer = new QTimer;
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, timer, [this, task, callback = std::move(callback)] {
            if (QTimer* done = m_timers.take(task))
                done->deleteLater();
            callback();
        });
        m_timers.insert(task, timer);
        timer->start(int(std::clamp<qint64>(delayMs, 0, std::numeric_limits<int>::max())));
        return task;
    }

    void cancel(TaskID task) override { delete m_timers.take(task); }

private:
    QElapsedTimer m_elapsed;
    TaskID m_nextID = 1;
    QHash<TaskID, QTimer*> m_timers;
};

} // namespace

Clock& Clock::system() {
    // Never destroyed: pending timers may outlive every other object of the process.
    static auto* clock = new SystemClock;
    return *clock;
}

void ScheduledTask::start(Clock& clock, qint64 delayMs, std::function<void()> callback) {
    reset();
    m_clock = &clock;
    m_task = clock.schedule(delayMs, [this, callback = std::move(callback)] {
        m_clock = nullptr;
        callback();
    });
}

void ScheduledTask::reset() {
    if (m_clock)
        m_clock->cancel(m_task);
    m_clock = nullptr;
}

} // namespace Dovrin::Core
