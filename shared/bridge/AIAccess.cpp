#include "shared/bridge/AIAccess.h"

using namespace Qt::StringLiterals;

namespace Dovrin::Bridge {

QString rawValue(AIAccess access) {
    switch (access) {
    case AIAccess::off:
        return u"off"_s;
    case AIAccess::readOnly:
        return u"read_only"_s;
    case AIAccess::readWrite:
        return u"read_write"_s;
    }
    return {};
}

std::optional<AIAccess> aiAccessFromRawValue(const QString& raw) {
    for (const AIAccess access : allAIAccessLevels)
        if (rawValue(access) == raw)
            return access;
    return std::nullopt;
}

} // namespace Dovrin::Bridge
