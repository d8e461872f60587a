#include "app/shell/HotKeys.h"

#include "app/core/AppSettings.h"
#include "app/core/Log.h"

#include <QSettings>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

QString settingsKey(HotKeyAction action) {
    return u"shortcut."_s + caseName(action);
}

std::optional<Shortcut> defaultShortcut(HotKeyAction action) {
    if (action == HotKeyAction::newSticky)
        return Shortcut{Qt::Key_N, Shortcut::control | Shortcut::option | Shortcut::command, u"N"_s};
    return std::nullopt;
}

QString refusalText(HotKeyGrabber::Refusal refusal, const Shortcut& shortcut) {
    switch (refusal) {
    case HotKeyGrabber::Refusal::takenByAnotherApp:
        return HotKeys::tr("Another app uses %1.").arg(shortcut.displayText());
    case HotKeyGrabber::Refusal::notAllowedByDesktop:
        return HotKeys::tr("The desktop didn’t allow %1.").arg(shortcut.displayText());
    }
    return {};
}

} // namespace

HotKeys::HotKeys(Perform perform, QObject* parent)
    : QObject(parent), m_perform(std::move(perform)), m_grabber(HotKeyGrabber::forSession()) {
    connect(m_grabber.get(), &HotKeyGrabber::pressed, this,
            [this](HotKeyAction action) { m_perform(action); });
    connect(m_grabber.get(), &HotKeyGrabber::withdrawn, this, &HotKeys::withdraw);
    qCInfo(Core::shellLog, "hotkey handler install=%d", m_grabber->install());
    const QSettings& settings = Core::appSettings();
    for (const HotKeyAction action : allHotKeyActions) {
        const QString key = settingsKey(action);
        // A cleared shortcut is stored as empty data, which decodes as none: no default comes back.
        const std::optional<Shortcut> shortcut = settings.contains(key)
                                                     ? Shortcut::fromJson(settings.value(key).toByteArray())
                                                     : defaultShortcut(action);
        if (shortcut)
            m_shortcuts.emplace(action, *shortcut);
    }
    for (const auto& [action, shortcut] : m_shortcuts)
        registerAction(action, shortcut);
}

HotKeys::~HotKeys() {
    for (const HotKeyAction action : allHotKeyActions)
        unregisterAction(action);
}

std::optional<Shortcut> HotKeys::shortcut(HotKeyAction action) const {
    const auto found = m_shortcuts.find(action);
    return found == m_shortcuts.end() ? std::nullopt : std::optional(found->second);
}

std::optional<QString> HotKeys::refusal(HotKeyAction action) const {
    const auto refused = m_refused.find(action);
    const std::optional<Shortcut> current = shortcut(action);
    if (refused == m_refused.end() || !current)
        return std::nullopt;
    return refusalText(refused->second, *current);
}

std::optional<QString> HotKeys::set(const std::optional<Shortcut>& shortcut, HotKeyAction action) {
    const std::optional<Shortcut> previous = this->shortcut(action);
    if (shortcut) {
        for (const auto& [other, taken] : m_shortcuts) {
            if (other != action && taken == *shortcut)
                return tr("%1 is already used for %2.").arg(shortcut->displayText(), title(other));
        }
        // X11 keeps no list of the desktop's own shortcuts: a grab someone holds is the only conflict.
        unregisterAction(action);
        if (const HotKeyGrabber::Outcome outcome = registerAction(action, *shortcut); !outcome.ok()) {
            if (previous)
                registerAction(action, *previous);
            else
                m_refused.erase(action);
            return refusalText(outcome.refusal, *shortcut);
        }
        m_shortcuts.insert_or_assign(action, *shortcut);
    } else {
        unregisterAction(action);
        m_refused.erase(action);
        m_shortcuts.erase(action);
    }
    Core::storeSetting(Core::appSettings(), settingsKey(action),
                       shortcut ? shortcut->toJson() : QByteArray());
    qCInfo(Core::shellLog, "hotkey %s = %s", qUtf8Printable(title(action)),
           shortcut ? qUtf8Printable(shortcut->displayText()) : "none");
    emit shortcutsChanged();
    return std::nullopt;
}

void HotKeys::setRecording(std::optional<HotKeyAction> action) {
    if (action == m_recording)
        return;
    const std::optional<HotKeyAction> previous = std::exchange(m_recording, action);
    if (previous) {
        if (const std::optional<Shortcut> current = shortcut(*previous))
            registerAction(*previous, *current);
    }
    if (action)
        unregisterAction(*action);
    emit recordingChanged();
}

HotKeyGrabber::Outcome HotKeys::registerAction(HotKeyAction action, const Shortcut& shortcut) {
    unregisterAction(action);
    const HotKeyGrabber::Outcome outcome = m_grabber->grab(action, shortcut);
    qCInfo(Core::shellLog, "hotkey register %s for %s = %d", qUtf8Printable(shortcut.displayText()),
           qUtf8Printable(title(action)), outcome.status);
    if (outcome.ok()) {
        m_registered.insert(action);
        m_refused.erase(action);
    } else {
        m_refused.insert_or_assign(action, outcome.refusal);
    }
    return outcome;
}

void HotKeys::unregisterAction(HotKeyAction action) {
    if (m_registered.erase(action))
        m_grabber->release(action);
}

void HotKeys::withdraw(HotKeyAction action) {
    if (!m_registered.erase(action))
        return;
    qCWarning(Core::shellLog, "hotkey %s withdrawn by the desktop", qUtf8Printable(title(action)));
    m_refused.insert_or_assign(action, HotKeyGrabber::Refusal::notAllowedByDesktop);
    emit shortcutsChanged();
}

} // namespace Dovrin::Shell
