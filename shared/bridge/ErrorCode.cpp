#include "shared/bridge/ErrorCode.h"

#include <array>
#include <utility>

namespace Dovrin::Bridge {

namespace {

constexpr std::array<std::pair<ErrorCode, const char*>, 8> rawValues{{
    {ErrorCode::notFound, "not_found"},
    {ErrorCode::conflict, "conflict"},
    {ErrorCode::ambiguous, "ambiguous"},
    {ErrorCode::forbidden, "forbidden"},
    {ErrorCode::rateLimited, "rate_limited"},
    {ErrorCode::tooLarge, "too_large"},
    {ErrorCode::unavailable, "unavailable"},
    {ErrorCode::invalidArguments, "invalid_arguments"},
}};

} // namespace

QString rawValue(ErrorCode code) {
    for (const auto& [candidate, raw] : rawValues)
        if (candidate == code)
            return QString::fromLatin1(raw);
    return {};
}

} // namespace Dovrin::Bridge
