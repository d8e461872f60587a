#pragma once

#include "Result.h"

#include <QString>

namespace Dovrin::Store {

struct StoreError {
    QString description;

    friend bool operator==(const StoreError&, const StoreError&) = default;
};

template <typename T> using StoreResult = Dovrin::Result<T, StoreError>;

} // namespace Dovrin::Store
