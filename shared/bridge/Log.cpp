#include "Log.h"

Q_LOGGING_CATEGORY(dovrinLog, "com.k7mn2.dovrin.app")
