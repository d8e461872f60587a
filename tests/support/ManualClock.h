#pragma once

#include "app/core/Clock.h"

#include <QMap>

namespace Dovrin::Agent {

// A clock that only moves when told to: tests advance it and the callbacks that fall due run in order.
class ManualClock final : public Core::Clock {
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 1, 1), QTime(12, 0), Qt::UTC));

    QDateTime now() const override;
    qint64 monotonicMs() const override { return m_elapsedMs; }
    TaskID schedule(qint64 delayMs, std::function<void()> callback) override;
    void cancel(TaskID task) override;

    // Moves time forward step by step, running every callback that falls due on the way (including
    // callbacks scheduled by those callbacks), each at its own due time.
    void advance(qint64 ms);
    int pendingCount() const { return int(m_tasks.size()); }

private:
    struct Task {
        qint64 dueMs = 0;
        std::function<void()> callback;
    };

    QDateTime m_start;
    qint64 m_elapsedMs = 0;
    TaskID m_nextID = 1;
    QMap<TaskID, Task> m_tasks;
};

} // namespace Dovrin::Agent
