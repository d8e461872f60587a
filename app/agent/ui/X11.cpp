#include "app/agent/ui/X11.h"

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

xcb_window_t rootWindow(xcb_connection_t* connection) {
    char* host = nullptr;
    int display = 0;
    int screenNumber = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screenNumber))
        std::free(host);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; screens.rem > 0; xcb_screen_next(&screens), ++i) {
        if (i == screenNumber)
            return screens.data->root;
    }
    return XCB_WINDOW_NONE;
}

} // namespace Dovrin::Agent::X11
