#pragma once

#include "app/shell/HotKeyAction.h"
#include "app/shell/HotKeyGrabber.h"
#include "app/shell/Shortcut.h"

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace Dovrin::Shell {

// The three global shortcuts: loaded from the app's settings, taken from the desktop, checked against
// each other and against other apps when they change, and stored again. Main thread only.
class HotKeys final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(HotKeys)

public:
    using Perform = std::function<void(HotKeyAction)>;

    // `perform` runs on the main thread, from the event loop, for every press of a shortcut.
    explicit HotKeys(Perform perform, QObject* parent = nullptr);
    ~HotKeys() override;

    std::optional<Shortcut> shortcut(HotKeyAction action) const;
    std::optional<HotKeyAction> recording() const { return m_recording; }
    // Why a set shortcut does nothing: the desktop refused it at launch or took it back later. None while
    // it works, and for an action without a shortcut.
    std::optional<QString> refusal(HotKeyAction action) const;

    // Takes and stores `shortcut` for the action (none clears it); the message to show when it can't be
    // used, and the previous shortcut then stays in force.
    std::optional<QString> set(const std::optional<Shortcut>& shortcut, HotKeyAction action);
    // While an action is being recorded its grab is let go, so that its keys reach the recorder.
    void setRecording(std::optional<HotKeyAction> action);

signals:
    void shortcutsChanged();
    void recordingChanged();

private:
    HotKeyGrabber::Outcome registerAction(HotKeyAction action, const Shortcut& shortcut);
    void unregisterAction(HotKeyAction action);
    void withdraw(HotKeyAction action);

    Perform m_perform;
    std::unique_ptr<HotKeyGrabber> m_grabber;
    std::map<HotKeyAction, Shortcut> m_shortcuts;
    // The actions whose grab is in force, and why the others' shortcut was refused.
    std::set<HotKeyAction> m_registered;
    std::map<HotKeyAction, HotKeyGrabber::Refusal> m_refused;
    std::optional<HotKeyAction> m_recording;
};

} // namespace Dovrin::Shell
