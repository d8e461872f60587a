#pragma once

#include <QDateTime>

namespace Dovrin::Shell {

// Whole days, rounded up, until a note deleted at `deletedAt` is old enough for the launch-time purge; 0 once
// it is (it then waits for the next launch).
int daysLeft(const QDateTime& deletedAt, const QDateTime& now);

} // namespace Dovrin::Shell
