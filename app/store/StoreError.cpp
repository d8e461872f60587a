#include "app/store/StoreError.h"

#include "app/core/Log.h"

namespace Dovrin::Store {

void logStoreError(const StoreError& error) {
    qCWarning(Core::storeLog, "store: %s", qUtf8Printable(error.description));
}

} // namespace Dovrin::Store
