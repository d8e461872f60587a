#pragma once

class QSettings;

namespace Dovrin::Core {

// The app's own settings ("showInDock", "defaultColor", …): an INI file at
// $XDG_CONFIG_HOME/dovrin/dovrin.conf. One instance for the run, used from the main thread.
QSettings& appSettings();

} // namespace Dovrin::Core
