#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace Dovrin::Shell {

// A key as X11 and xkbcommon name it: the keysym the keyboard map lists, and its name without the
// XKB_KEY_ prefix (how the desktop's shortcuts portal writes a trigger).
struct KeySym {
    quint32 value = 0;
    QString name;
};

// For letters, digits, F1–F20, Space, Return, Enter, Tab, Backspace, Delete, Escape, Insert, arrows, Home,
// End, Page Up/Down and ASCII punctuation; none for other Qt keys.
std::optional<KeySym> keySym(int qtKey);

} // namespace Dovrin::Shell
