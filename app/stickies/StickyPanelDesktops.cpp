#include "StickyPanelDesktops.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <dlfcn.h>
#include <xcb/xcb.h>
#endif

namespace Dovrin::Stickies {

#if QT_CONFIG(xcb)

namespace {

// libxcb is already in the process when Qt runs on X11; it is looked up there rather than linked, so
// that the library works on any platform Qt runs on.
void* xcbLibrary() {
    static void* const library = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
    return library;
}

template <typename Function> Function* xcbFunction(const char* name) {
    return xcbLibrary() ? reinterpret_cast<Function*>(dlsym(xcbLibrary(), name)) : nullptr;
}

} // namespace

void joinAllDesktops(QWidget* window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    // The platform may replace the native window behind the widget (a change of stacking hint does), so
    // its current id is asked from the window handle, not from the widget.
    QWindow* handle = window->windowHandle();
    if (!x11 || !x11->connection() || !handle)
        return;
    auto* internAtom = xcbFunction<decltype(xcb_intern_atom)>("xcb_intern_atom");
    auto* internAtomReply = xcbFunction<decltype(xcb_intern_atom_reply)>("xcb_intern_atom_reply");
    auto* changeProperty = xcbFunction<decltype(xcb_change_property)>("xcb_change_property");
    auto* getSetup = xcbFunction<decltype(xcb_get_setup)>("xcb_get_setup");
    auto* rootsIterator = xcbFunction<decltype(xcb_setup_roots_iterator)>("xcb_setup_roots_iterator");
    auto* sendEvent = xcbFunction<decltype(xcb_send_event)>("xcb_send_event");
    auto* flush = xcbFunction<decltype(xcb_flush)>("xcb_flush");
    if (!internAtom || !internAtomReply || !changeProperty || !getSetup || !rootsIterator || !sendEvent ||
        !flush)
        return;
    xcb_connection_t* connection = x11->connection();
    static const char name[] = "_NET_WM_DESKTOP";
    xcb_intern_atom_reply_t* reply =
        internAtomReply(connection, internAtom(connection, 0, sizeof(name) - 1, name), nullptr);
    if (!reply)
        return;
    const xcb_atom_t desktopAtom = reply->atom;
    std::free(reply);
    const auto nativeWindow = xcb_window_t(handle->winId());
    // The desktop number the window-manager standard reserves for "all desktops".
    const quint32 allDesktops = 0xFFFFFFFF;
    // A window manager reads the property when it maps the window, and takes a message to the root
    // window for a window that is already mapped.
    changeProperty(connection, XCB_PROP_MODE_REPLACE, nativeWindow, desktopAtom, XCB_ATOM_CARDINAL, 32, 1,
                   &allDesktops);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = nativeWindow;
    message.type = desktopAtom;
    message.data.data32[0] = allDesktops;
    // Source indication: a normal application.
    message.data.data32[1] = 1;
    const xcb_window_t root = rootsIterator(getSetup(connection)).data->root;
    sendEvent(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
              reinterpret_cast<const char*>(&message));
    flush(connection);
}

#else

void joinAllDesktops(QWidget*) {}

#endif

} // namespace Dovrin::Stickies
