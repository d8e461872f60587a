#include "app/core/Log.h"

namespace Dovrin::Core {

Q_LOGGING_CATEGORY(storeLog, "dovrin.store")
Q_LOGGING_CATEGORY(agentLog, "dovrin.agent")
Q_LOGGING_CATEGORY(stickiesLog, "dovrin.stickies")
Q_LOGGING_CATEGORY(shellLog, "dovrin.shell")

} // namespace Dovrin::Core
