#pragma once

#include <QtGlobal>

#include <chrono>
#include <functional>

class QObject;
class QSettings;

namespace Dovrin::Shell {

// The instance that asked for this one to be started in its place, as far as it was waited for.
struct PreviousInstance final {
    qint64 pid = 0; // 0: this start was no relaunch
    bool gone = true;
};

// The settings key under which an instance that relaunches leaves its process id for the new one.
inline constexpr const char* relaunchedFromKey = "relaunchedFrom";
inline constexpr std::chrono::milliseconds previousInstancePatience{5000};
inline constexpr std::chrono::milliseconds previousInstanceProbeInterval{50};

// Reads and removes "relaunchedFrom" and waits, on the event loop, until that process is gone or 5 s have
// passed, probing it every 50 ms. `done` is always called from the event loop, also when there is nothing
// to wait for; it is dropped when `context` goes away first.
void waitForPreviousInstance(QSettings& settings, QObject* context,
                             std::function<void(PreviousInstance)> done);

} // namespace Dovrin::Shell
