#pragma once

#include <QIcon>
#include <QPalette>

namespace Dovrin::Shell {

enum class SettingsTab { general, ai, about };

// What the settings window shows from its resources.

// The tab's symbol (a gear, the AI sparkle, an "i" in a circle) in the palette's text colour.
QIcon settingsTabIcon(SettingsTab tab, const QPalette& palette);

// The acknowledgements of the About tab, as rich text.
QString acknowledgementsText();

} // namespace Dovrin::Shell
