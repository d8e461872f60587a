#pragma once

#include <QString>
#include <array>
#include <optional>

namespace Dovrin::Bridge {

// What the user lets AI clients do with the notes.
enum class AIAccess {
    off,
    readOnly,
    readWrite,
};

inline constexpr std::array<AIAccess, 3> allAIAccessLevels{AIAccess::off, AIAccess::readOnly,
                                                           AIAccess::readWrite};

// "off", "read_only", "read_write".
QString rawValue(AIAccess access);
// Nothing for an unknown raw value.
std::optional<AIAccess> aiAccessFromRawValue(const QString& raw);

} // namespace Dovrin::Bridge
