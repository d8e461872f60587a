#include "StoreError.h"

#include "Log.h"

namespace Dovrin::Store {

void logStoreError(const StoreError& error) {
    qCWarning(dovrinLog, "store: %s", qUtf8Printable(error.description));
}

} // namespace Dovrin::Store
