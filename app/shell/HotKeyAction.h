#pragma once

#include <QString>

#include <array>

namespace Dovrin::Shell {

// The three things a global shortcut can do, in the order the settings list them.
enum class HotKeyAction { newSticky, searchNotes, showHideAll };

inline constexpr std::array allHotKeyActions{HotKeyAction::newSticky, HotKeyAction::searchNotes,
                                             HotKeyAction::showHideAll};

// "New sticky", "Search notes", "Show/Hide all stickies", in the interface language.
QString title(HotKeyAction action);
// "newSticky", …: part of the stored setting's key and the action's id at the desktop's shortcuts portal.
QString caseName(HotKeyAction action);

} // namespace Dovrin::Shell
