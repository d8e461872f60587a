#include "AIAccess.h"

namespace Dovrin::Bridge {

QString rawValue(AIAccess access) {
    switch (access) {
    case AIAccess::off:
        return QStringLiteral("off");
    case AIAccess::readOnly:
        return QStringLiteral("read_only");
    case AIAccess::readWrite:
        return QStringLiteral("read_write");
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
