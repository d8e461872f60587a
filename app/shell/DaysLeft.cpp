#include "app/shell/DaysLeft.h"

namespace Dovrin::Shell {

namespace {

// As long as the store keeps a note in Recently Deleted before purging it: 30 days.
constexpr qint64 keptForSeconds = 2'592'000;
constexpr qint64 dayMs = 86'400'000;

} // namespace

int daysLeft(const QDateTime& deletedAt, const QDateTime& now) {
    const qint64 remainingMs = now.msecsTo(deletedAt.addSecs(keptForSeconds));
    return remainingMs <= 0 ? 0 : int((remainingMs + dayMs - 1) / dayMs);
}

} // namespace Dovrin::Shell
