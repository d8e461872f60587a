#pragma once

class QSettings;
class QString;
class QVariant;

namespace Dovrin::Core {

// The app's own settings ("showInDock", "defaultColor", …): an INI file at
// $XDG_CONFIG_HOME/dovrin/dovrin.conf. One instance for the run, used from the main thread.
QSettings& appSettings();

// Writes `value` under `key` (an invalid value removes the key) and saves the file at once; a failure is
// logged, and the value then lasts only for this run.
void storeSetting(QSettings& settings, const QString& key, const QVariant& value);

} // namespace Dovrin::Core
