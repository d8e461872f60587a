#include "app/shell/Shortcut.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

const QString keyCodeKey = u"keyCode"_s;
const QString modifiersKey = u"modifiers"_s;
const QString keyKey = u"key"_s;

struct ModifierBit {
    int carbon;
    Qt::KeyboardModifier qt;
};
constexpr ModifierBit modifierBits[] = {{Shortcut::control, Qt::MetaModifier},
                                        {Shortcut::option, Qt::AltModifier},
                                        {Shortcut::shift, Qt::ShiftModifier},
                                        {Shortcut::command, Qt::ControlModifier}};

} // namespace

Result<Shortcut, Shortcut::Problem> Shortcut::fromKeyEvent(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (!(modifiers & (Qt::ControlModifier | Qt::MetaModifier)))
        return Problem::needsCtrlOrMeta;
    Shortcut shortcut;
    shortcut.keyCode = qtKey;
    for (const ModifierBit& bit : modifierBits) {
        if (modifiers & bit.qt)
            shortcut.modifiers |= bit.carbon;
    }
    // Qt's key already ignores the modifiers; the event's text holds a control character while Ctrl is down.
    if (const std::optional<QString> label = keyLabel(qtKey))
        shortcut.key = *label;
    else if (const char32_t code = char32_t(qtKey); qtKey < Qt::Key_Escape && QChar::isPrint(code))
        shortcut.key = QString::fromUcs4(&code, 1).toUpper();
    else
        shortcut.key = u"?"_s;
    return shortcut;
}

std::optional<Shortcut> Shortcut::fromJson(const QByteArray& data) {
    const QJsonObject object = QJsonDocument::fromJson(data).object();
    if (!object.value(keyCodeKey).isDouble() || !object.value(modifiersKey).isDouble() ||
        !object.value(keyKey).isString())
        return std::nullopt;
    return Shortcut{object.value(keyCodeKey).toInt(), object.value(modifiersKey).toInt() & allModifiers,
                    object.value(keyKey).toString()};
}

QByteArray Shortcut::toJson() const {
    return QJsonDocument(QJsonObject{{keyCodeKey, keyCode}, {modifiersKey, modifiers}, {keyKey, key}})
        .toJson(QJsonDocument::Compact);
}

Qt::KeyboardModifiers Shortcut::qtModifiers() const {
    Qt::KeyboardModifiers result;
    for (const ModifierBit& bit : modifierBits) {
        if (modifiers & bit.carbon)
            result |= bit.qt;
    }
    return result;
}

QString Shortcut::displayText() const {
    return QKeySequence(combination()).toString(QKeySequence::NativeText);
}

std::optional<QKeySequence> Shortcut::menuEquivalent() const {
    if (keyLabel(keyCode) || key.toUcs4().size() != 1)
        return std::nullopt;
    return QKeySequence(combination());
}

std::optional<QString> keyLabel(int qtKey) {
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F20)
        return u"F%1"_s.arg(qtKey - Qt::Key_F1 + 1);
    switch (qtKey) {
    case Qt::Key_Space:
        return QCoreApplication::translate("Shortcut", "Space", "Key name in a keyboard shortcut");
    case Qt::Key_Return:
        return u"↩"_s;
    case Qt::Key_Tab:
        return u"⇥"_s;
    case Qt::Key_Backspace:
        return u"⌫"_s;
    case Qt::Key_Delete:
        return u"⌦"_s;
    case Qt::Key_PageUp:
        return u"⇞"_s;
    case Qt::Key_PageDown:
        return u"⇟"_s;
    case Qt::Key_Left:
        return u"←"_s;
    case Qt::Key_Right:
        return u"→"_s;
    case Qt::Key_Up:
        return u"↑"_s;
    case Qt::Key_Down:
        return u"↓"_s;
    case Qt::Key_Home:
        return u"↖"_s;
    case Qt::Key_End:
        return u"↘"_s;
    default:
        return std::nullopt;
    }
}

QString modifiersText(Qt::KeyboardModifiers modifiers) {
    modifiers &= Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier | Qt::ShiftModifier;
    if (!modifiers)
        return {};
    // The desktop's text for the modifiers with some key, without that key.
    QString text = QKeySequence(QKeyCombination(modifiers, Qt::Key_A)).toString(QKeySequence::NativeText);
    text.chop(1);
    return text;
}

QString problemText(Shortcut::Problem problem) {
    switch (problem) {
    case Shortcut::Problem::needsCtrlOrMeta:
        return QCoreApplication::translate("Shortcut", "Use Ctrl or Meta in the shortcut.");
    }
    return {};
}

} // namespace Dovrin::Shell
