#pragma once

#include "Note.h"

namespace Dovrin::Agent {

// The colour the user chose for new notes, when it names one of the six; yellow otherwise.
Store::StickyColor defaultStickyColor();

} // namespace Dovrin::Agent
