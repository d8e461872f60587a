#include "app/agent/ui/WindowDesktops.h"

#include "app/agent/ui/X11.h"

#include <QWidget>
#include <QWindow>

namespace Dovrin::Agent {

void joinAllDesktops(QWidget* window) {
    xcb_connection_t* connection = X11::connection();
    // The platform may replace the native window behind the widget (a change of stacking hint does), so
    // its current id is asked from the window handle, not from the widget.
    QWindow* handle = window->windowHandle();
    if (!connection || !handle)
        return;
    const xcb_atom_t desktopAtom = X11::atom(connection, "_NET_WM_DESKTOP");
    if (desktopAtom == XCB_ATOM_NONE)
        return;
    const auto nativeWindow = xcb_window_t(handle->winId());
    // The desktop number the window-manager standard reserves for "all desktops".
    const quint32 allDesktops = 0xFFFFFFFF;
    // A window manager reads the property when it maps the window, and takes a message to the root
    // window for a window that is already mapped.
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, nativeWindow, desktopAtom, XCB_ATOM_CARDINAL, 32,
                        1, &allDesktops);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = nativeWindow;
    message.type = desktopAtom;
    message.data.data32[0] = allDesktops;
    // Source indication: a normal application.
    message.data.data32[1] = 1;
    xcb_send_event(connection, 0, X11::rootWindow(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
}

} // namespace Dovrin::Agent
