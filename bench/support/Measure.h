#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace Dovrin::Bench {

using namespace Qt::StringLiterals;

struct Timing {
    double medianMs = 0;
    double p99Ms = 0;
    double minMs = 0;
    double maxMs = 0;
    int runs = 0;
};

// The spread of samples in milliseconds, for steps whose set-up must not be timed.
inline Timing timingOf(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    Timing timing;
    timing.runs = static_cast<int>(samples.size());
    if (samples.empty())
        return timing;
    timing.medianMs = samples[samples.size() / 2];
    timing.p99Ms = samples[std::min(samples.size() - 1, samples.size() * 99 / 100)];
    timing.minMs = samples.front();
    timing.maxMs = samples.back();
    return timing;
}

// Runs `step` `runs` times and reports the spread of wall-clock times in milliseconds.
inline Timing measure(int runs, const std::function<void()>& step) {
    std::vector<double> samples;
    samples.reserve(static_cast<size_t>(runs));
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        step();
        samples.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return timingOf(std::move(samples));
}

inline void report(const QString& name, const Timing& timing) {
    QTextStream(stdout) << u"%1: median %2 ms, p99 %3 ms, min %4 ms, max %5 ms (%6 runs)\n"_s.arg(name)
                               .arg(timing.medianMs, 0, 'f', 3)
                               .arg(timing.p99Ms, 0, 'f', 3)
                               .arg(timing.minMs, 0, 'f', 3)
                               .arg(timing.maxMs, 0, 'f', 3)
                               .arg(timing.runs);
}

// Runs the event loop until `done` holds (true) or the time is up (false): pages and scripts answer through
// the event loop.
inline bool spinUntil(const std::function<bool()>& done, int timeoutMs = 60000) {
    QElapsedTimer timer;
    timer.start();
    // Wakes the blocking wait below now and then, so that the time-out is noticed.
    QTimer wake;
    wake.start(20);
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace Dovrin::Bench
