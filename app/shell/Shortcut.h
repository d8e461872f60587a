#pragma once

#include "app/core/Result.h"

#include <QByteArray>
#include <QKeyCombination>
#include <QKeySequence>
#include <QString>

#include <optional>

namespace Dovrin::Shell {

// A global shortcut as the settings keep it: the Qt key, the modifiers as Carbon's mask bits (the stored
// form has always had them) and the key's label.
struct Shortcut {
    // Carbon's bits, each standing for the Qt modifier Qt gives that key on a Mac keyboard.
    static constexpr int command = 0x100;  // Ctrl
    static constexpr int shift = 0x200;    // Shift
    static constexpr int option = 0x800;   // Alt
    static constexpr int control = 0x1000; // Meta (Super)
    static constexpr int allModifiers = command | shift | option | control;

    enum class Problem { needsCtrlOrMeta };

    int keyCode = 0;
    int modifiers = 0;
    QString key;

    bool operator==(const Shortcut&) const = default;

    // From a key press while recording: Ctrl or Meta must be held.
    static Result<Shortcut, Problem> fromKeyEvent(int qtKey, Qt::KeyboardModifiers modifiers);
    // None when the data is not a stored shortcut (the empty data of a cleared one included).
    static std::optional<Shortcut> fromJson(const QByteArray& data);
    QByteArray toJson() const;

    Qt::KeyboardModifiers qtModifiers() const;
    QKeyCombination combination() const { return QKeyCombination(qtModifiers(), Qt::Key(keyCode)); }
    // The desktop's own way of writing it, for example "Ctrl+Alt+Meta+N".
    QString displayText() const;
    // What the tray menu's item shows; none for named keys (Space, arrows, F-keys…) and longer labels.
    std::optional<QKeySequence> menuEquivalent() const;
};

// The label of a named key (Space, Return, arrows, Page Up/Down, Home, End, F1–F20), none for others.
std::optional<QString> keyLabel(int qtKey);
// Held modifiers as the desktop writes them ahead of a key, for example "Ctrl+Alt+".
QString modifiersText(Qt::KeyboardModifiers modifiers);
QString problemText(Shortcut::Problem problem);

} // namespace Dovrin::Shell
