#include "StickyPanelDesktops.h"

#include <QGuiApplication>
#include <QWidget>

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
template <typename Function> Function* xcbFunction(const char* name) {
    return reinterpret_cast<Function*>(dlsym(RTLD_DEFAULT, name));
}

} // namespace

void joinAllDesktops(QWidget* window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    auto* internAtom = xcbFunction<decltype(xcb_intern_atom)>("xcb_intern_atom");
    auto* internAtomReply = xcbFunction<decltype(xcb_intern_atom_reply)>("xcb_intern_atom_reply");
    auto* changeProperty = xcbFunction<decltype(xcb_change_property)>("xcb_change_property");
    auto* flush = xcbFunction<decltype(xcb_flush)>("xcb_flush");
    if (!internAtom || !internAtomReply || !changeProperty || !flush)
        return;
    xcb_connection_t* connection = x11->connection();
    static const char name[] = "_NET_WM_DESKTOP";
    xcb_intern_atom_reply_t* reply =
        internAtomReply(connection, internAtom(connection, 0, sizeof(name) - 1, name), nullptr);
    if (!reply)
        return;
    // The desktop number the window-manager standard reserves for "all desktops".
    const quint32 allDesktops = 0xFFFFFFFF;
    changeProperty(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()), reply->atom,
                   XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    flush(connection);
    std::free(reply);
}

#else

void joinAllDesktops(QWidget*) {}

#endif

} // namespace Dovrin::Stickies
