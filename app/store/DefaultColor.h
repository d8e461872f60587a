#pragma once

#include "app/store/Note.h"

namespace Dovrin::Store {

// The colour the user chose for new notes, when it names one of the six; yellow otherwise.
StickyColor defaultStickyColor();

} // namespace Dovrin::Store
