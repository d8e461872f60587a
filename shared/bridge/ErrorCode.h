#pragma once

#include <QString>

namespace Dovrin::Bridge {

// The codes tools report to AI clients; the raw value is what travels.
enum class ErrorCode {
    notFound,
    conflict,
    ambiguous,
    forbidden,
    rateLimited,
    tooLarge,
    unavailable,
    invalidArguments,
};

QString rawValue(ErrorCode code);

} // namespace Dovrin::Bridge
