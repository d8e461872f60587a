#pragma once

#include "app/core/Result.h"
#include "mcp/dovrin_mcp/Unavailable.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/types.h>

namespace Dovrin::Mcp {

// Starts the app in the background. Calls that find the app stopped at the same time share one start.
class Launcher final {
public:
    // The `dovrin` executable: $DOVRIN_APP when set, else the one beside this program.
    static QString appExecutable();

    // Returns once the app's process was started (or is still starting from an earlier launch), or fails
    // with the message the AI should show.
    Result<void, Unavailable> launch();

private:
    struct Attempt {
        bool finished = false;
        std::optional<Unavailable> failure;
    };
    struct Started {
        Started(pid_t pid, std::chrono::steady_clock::time_point at) : pid(pid), at(at) {}
        const pid_t pid;
        const std::chrono::steady_clock::time_point at;
        std::atomic<bool> exited = false;
    };

    Result<void, Unavailable> start();
    bool isStillStarting();

    std::mutex m_mutex;
    std::condition_variable m_finished;
    std::shared_ptr<Attempt> m_launch;
    std::shared_ptr<Started> m_started;
};

} // namespace Dovrin::Mcp
