#include "app/agent/ui/X11.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cstring>

using namespace Qt::StringLiterals;

namespace Dovrin::Agent::X11 {

xcb_connection_t* connection() {
    if (QGuiApplication::platformName() != "xcb"_L1)
        return nullptr;
    auto* application = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return application ? application->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    auto reply = owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

QList<quint32> propertyValues(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                              xcb_atom_t type) {
    auto reply = owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, type, 0, 1024), nullptr));
    if (!reply || reply->type != type || reply->format != 32)
        return {};
    const auto* values = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
    return QList<quint32>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

namespace {

int screenNumber() {
    char* host = nullptr;
    int display = 0;
    int screen = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen))
        std::free(host);
    return screen;
}

} // namespace

xcb_window_t rootWindow(xcb_connection_t* connection) {
    const int screenNumber = X11::screenNumber();
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; screens.rem > 0; xcb_screen_next(&screens), ++i) {
        if (i == screenNumber)
            return screens.data->root;
    }
    return XCB_WINDOW_NONE;
}

bool hasCompositingManager(xcb_connection_t* connection) {
    // A compositing manager owns this selection while it runs.
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screenNumber());
    auto reply = owned(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom(connection, name.constData())), nullptr));
    return reply && reply->owner != XCB_WINDOW_NONE;
}

} // namespace Dovrin::Agent::X11
