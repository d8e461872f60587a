#include "app/shell/KeySyms.h"

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

// Printable ASCII: the keysym is the character itself; these are the names xkbcommon gives them.
constexpr const char* punctuationNames[] = {
    "space",     "exclam",     "quotedbl", "numbersign", "dollar", "percent", "ampersand", "apostrophe",
    "parenleft", "parenright", "asterisk", "plus",       "comma",  "minus",   "period",    "slash"};
constexpr const char* symbolNames[] = {"colon", "semicolon", "less", "equal", "greater", "question", "at"};
constexpr const char* bracketNames[] = {"bracketleft", "backslash",  "bracketright",
                                        "asciicircum", "underscore", "grave"};
constexpr const char* braceNames[] = {"braceleft", "bar", "braceright", "asciitilde"};

struct NamedKey {
    int qtKey;
    quint32 value;
    const char* name;
};
constexpr NamedKey namedKeys[] = {
    {Qt::Key_Return, 0xff0d, "Return"},  {Qt::Key_Enter, 0xff8d, "KP_Enter"},
    {Qt::Key_Tab, 0xff09, "Tab"},        {Qt::Key_Backspace, 0xff08, "BackSpace"},
    {Qt::Key_Delete, 0xffff, "Delete"},  {Qt::Key_Escape, 0xff1b, "Escape"},
    {Qt::Key_Insert, 0xff63, "Insert"},  {Qt::Key_Home, 0xff50, "Home"},
    {Qt::Key_Left, 0xff51, "Left"},      {Qt::Key_Up, 0xff52, "Up"},
    {Qt::Key_Right, 0xff53, "Right"},    {Qt::Key_Down, 0xff54, "Down"},
    {Qt::Key_PageUp, 0xff55, "Page_Up"}, {Qt::Key_PageDown, 0xff56, "Page_Down"},
    {Qt::Key_End, 0xff57, "End"}};

constexpr quint32 f1KeySym = 0xffbe;

KeySym ascii(int character, const char* name) {
    return {quint32(character), QString::fromLatin1(name)};
}

// Letters and digits are named by themselves.
KeySym selfNamed(int character) {
    return {quint32(character), QString(QChar(character))};
}

} // namespace

std::optional<KeySym> keySym(int qtKey) {
    // Qt names a letter by its capital; the keyboard map lists the small one first, unshifted.
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return selfNamed(qtKey - Qt::Key_A + 'a');
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return selfNamed(qtKey);
    if (qtKey >= Qt::Key_Space && qtKey <= Qt::Key_Slash)
        return ascii(qtKey, punctuationNames[qtKey - Qt::Key_Space]);
    if (qtKey >= Qt::Key_Colon && qtKey <= Qt::Key_At)
        return ascii(qtKey, symbolNames[qtKey - Qt::Key_Colon]);
    if (qtKey >= Qt::Key_BracketLeft && qtKey <= Qt::Key_QuoteLeft)
        return ascii(qtKey, bracketNames[qtKey - Qt::Key_BracketLeft]);
    if (qtKey >= Qt::Key_BraceLeft && qtKey <= Qt::Key_AsciiTilde)
        return ascii(qtKey, braceNames[qtKey - Qt::Key_BraceLeft]);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F20)
        return KeySym{f1KeySym + quint32(qtKey - Qt::Key_F1), u"F%1"_s.arg(qtKey - Qt::Key_F1 + 1)};
    for (const NamedKey& key : namedKeys) {
        if (key.qtKey == qtKey)
            return KeySym{key.value, QString::fromLatin1(key.name)};
    }
    return std::nullopt;
}

} // namespace Dovrin::Shell
