#pragma once

#include "app/core/AppLanguage.h"

namespace Dovrin::Shell {

// Puts the whole app into `language`: Dovrin's own texts, Qt's standard ones (dialog buttons) and the
// editor page's language. Replaces what an earlier call installed. Call once the QApplication exists.
void installTranslations(Core::AppLanguage language);

} // namespace Dovrin::Shell
