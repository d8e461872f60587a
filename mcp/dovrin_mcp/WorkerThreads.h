#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace Dovrin::Mcp {

// Runs each task at once on a thread of its own: an idle worker when there is one, else a new one. Tasks
// never wait for each other, however long one blocks; finished workers stay for the next task, which a
// woken thread starts sooner than a new one would.
class WorkerThreads final {
public:
    WorkerThreads() = default;
    ~WorkerThreads();
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    void run(std::function<void()> task);
    void waitUntilAllFinished();

private:
    void work();

    std::mutex m_mutex;
    std::condition_variable m_taskQueued;
    std::condition_variable m_allFinished;
    std::deque<std::function<void()>> m_queue;
    int m_waitingWorkers = 0;
    int m_unfinished = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

} // namespace Dovrin::Mcp
