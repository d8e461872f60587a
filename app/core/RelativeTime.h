#pragma once

#include <QDateTime>
#include <QString>

namespace Dovrin::Core {

// How long ago `date` was, seen at `now`: "just now" under a minute, otherwise a short relative phrase
// ("2 hr. ago", "yesterday") in the launched language (Simplified Chinese or English).
QString relativeTime(const QDateTime& date, const QDateTime& now);

} // namespace Dovrin::Core
