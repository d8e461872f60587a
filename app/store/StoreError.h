#pragma once

#include "app/core/Result.h"

#include <QString>

namespace Dovrin::Store {

struct StoreError {
    QString description;

    friend bool operator==(const StoreError&, const StoreError&) = default;
};

// Logs a failed database call as "store: …"; callers go on without its result.
void logStoreError(const StoreError& error);

template <typename T> using StoreResult = Dovrin::Result<T, StoreError>;

} // namespace Dovrin::Store
