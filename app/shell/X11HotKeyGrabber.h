#pragma once

#include "app/shell/HotKeyGrabber.h"

#include <QAbstractNativeEventFilter>

#include <map>

#include <xcb/xcb.h>

namespace Dovrin::Shell {

// Global shortcuts as passive key grabs on the root window, over Qt's own X connection. A grab is made
// once for every state of Caps Lock and Num Lock, so that the shortcut works whichever is on.
class X11HotKeyGrabber final : public HotKeyGrabber, public QAbstractNativeEventFilter {
    Q_OBJECT
    Q_DISABLE_COPY(X11HotKeyGrabber)

public:
    explicit X11HotKeyGrabber(QObject* parent = nullptr);
    ~X11HotKeyGrabber() override;

    int install() override;
    Outcome grab(HotKeyAction action, const Shortcut& shortcut) override;
    void release(HotKeyAction action) override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab {
        xcb_keycode_t keycode = 0;
        uint16_t modifiers = 0;
        // The lock modifiers (Caps Lock, Num Lock) a press may carry on top.
        uint16_t locks = 0;
    };

    void ungrab(const Grab& grab);

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    bool m_installed = false;
    std::map<HotKeyAction, Grab> m_grabs;
};

} // namespace Dovrin::Shell
