#include "app/shell/DaysLeft.h"

#include "app/store/NoteStore.h"

namespace Dovrin::Shell {

namespace {

constexpr qint64 dayMs = 86'400'000;

} // namespace

int daysLeft(const QDateTime& deletedAt, const QDateTime& now) {
    const qint64 remainingMs = now.msecsTo(deletedAt.addSecs(Store::NoteStore::keptDeletedSeconds));
    return remainingMs <= 0 ? 0 : int((remainingMs + dayMs - 1) / dayMs);
}

} // namespace Dovrin::Shell
