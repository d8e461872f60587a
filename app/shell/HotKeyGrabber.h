#pragma once

#include "app/shell/HotKeyAction.h"

#include <QObject>

#include <memory>

namespace Dovrin::Shell {

struct Shortcut;

// Where global shortcuts are taken from the desktop: passive key grabs on X11, the desktop's shortcuts
// portal in a Wayland session. One per run, on the main thread.
class HotKeyGrabber : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(HotKeyGrabber)

public:
    enum class Refusal { takenByAnotherApp, notAllowedByDesktop };
    // A grab's outcome: status 0 when it is in force, otherwise the desktop's error code (for the log)
    // and why.
    struct Outcome {
        int status = 0;
        Refusal refusal = Refusal::takenByAnotherApp;
        bool ok() const { return status == 0; }
    };

    // The grabber this session has: the portal under Wayland, key grabs under X11, else one that refuses.
    static std::unique_ptr<HotKeyGrabber> forSession();

    ~HotKeyGrabber() override = default;

    // Gets ready to catch presses; the status for the log, 0 when ready.
    virtual int install() = 0;
    virtual Outcome grab(HotKeyAction action, const Shortcut& shortcut) = 0;
    virtual void release(HotKeyAction action) = 0;

signals:
    // Sent from the event loop, never from inside grab or release.
    void pressed(HotKeyAction action);
    // The desktop took back a grab it had granted (the portal's answer comes after the grab).
    void withdrawn(HotKeyAction action);

protected:
    explicit HotKeyGrabber(QObject* parent = nullptr) : QObject(parent) {}
};

} // namespace Dovrin::Shell
