#include "tests/support/ManualClock.h"

namespace Dovrin::Agent {

ManualClock::ManualClock(QDateTime start) : m_start(std::move(start)) {}

QDateTime ManualClock::now() const {
    return m_start.addMSecs(m_elapsedMs);
}

Core::Clock::TaskID ManualClock::schedule(qint64 delayMs, std::function<void()> callback) {
    const TaskID task = m_nextID++;
    m_tasks.insert(task, Task{m_elapsedMs + qMax<qint64>(0, delayMs), std::move(callback)});
    return task;
}

void ManualClock::cancel(TaskID task) {
    m_tasks.remove(task);
}

void ManualClock::advance(qint64 ms) {
    const qint64 target = m_elapsedMs + ms;
    for (;;) {
        // The earliest due task; among equal times the one scheduled first.
        auto next = m_tasks.end();
        for (auto it = m_tasks.begin(); it != m_tasks.end(); ++it) {
            if (it->dueMs <= target && (next == m_tasks.end() || it->dueMs < next->dueMs))
                next = it;
        }
        if (next == m_tasks.end())
            break;
        m_elapsedMs = next->dueMs;
        const std::function<void()> callback = std::move(next->callback);
        m_tasks.erase(next);
        callback();
    }
    m_elapsedMs = target;
}

} // namespace Dovrin::Agent
