#pragma once

#include <QLoggingCategory>

// One logging category per area, "dovrin.<area>", so a user can hear one area alone (for example
// QT_LOGGING_RULES="dovrin.*=false;dovrin.agent=true"). Log lines keep their exact words: people and scripts
// grep them.
namespace Dovrin::Core {

Q_DECLARE_LOGGING_CATEGORY(storeLog)
Q_DECLARE_LOGGING_CATEGORY(agentLog)
Q_DECLARE_LOGGING_CATEGORY(stickiesLog)
Q_DECLARE_LOGGING_CATEGORY(shellLog)

// How a yes-or-no field of a log line reads.
inline const char* logBool(bool value) {
    return value ? "true" : "false";
}

} // namespace Dovrin::Core
