#pragma once

#include <QIcon>

namespace Dovrin::Shell {

// The app's own icon, the one its desktop entry shows, for windows that speak for the app as a whole.
QIcon appIcon();

} // namespace Dovrin::Shell
