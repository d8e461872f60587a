#include "mcp/dovrin_mcp/WorkerThreads.h"

#include <system_error>

namespace Dovrin::Mcp {

WorkerThreads::~WorkerThreads() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_taskQueued.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void WorkerThreads::run(std::function<void()> task) {
    std::unique_lock lock(m_mutex);
    m_queue.push_back(std::move(task));
    ++m_unfinished;
    // Workers already woken for earlier tasks are still counted as waiting until they take one.
    if (m_waitingWorkers >= static_cast<int>(m_queue.size())) {
        m_taskQueued.notify_one();
        return;
    }
    try {
        m_threads.emplace_back([this] { work(); });
    } catch (const std::system_error&) {
        // Out of threads: run it here rather than not at all.
        std::function<void()> inline_ = std::move(m_queue.back());
        m_queue.pop_back();
        lock.unlock();
        inline_();
        lock.lock();
        if (--m_unfinished == 0)
            m_allFinished.notify_all();
    }
}

void WorkerThreads::waitUntilAllFinished() {
    std::unique_lock lock(m_mutex);
    m_allFinished.wait(lock, [this] { return m_unfinished == 0; });
}

void WorkerThreads::work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        ++m_waitingWorkers;
        m_taskQueued.wait(lock, [this] { return !m_queue.empty() || m_stopping; });
        --m_waitingWorkers;
        if (m_queue.empty())
            return;
        std::function<void()> task = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        task();
        lock.lock();
        if (--m_unfinished == 0)
            m_allFinished.notify_all();
    }
}

} // namespace Dovrin::Mcp
