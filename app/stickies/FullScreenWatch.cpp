#include "FullScreenWatch.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QList>
#include <QRect>
#include <QScreen>

#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <xcb/xcb.h>

namespace Dovrin::Stickies {

namespace {

// Frees an xcb reply on every path out.
template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply> Owned<Reply> owned(Reply* reply) {
    return Owned<Reply>(reply, &std::free);
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    auto reply = owned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The 32-bit values of a window property of the given type; empty when it is missing or of another type.
QList<quint32> propertyValues(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                              xcb_atom_t type) {
    auto reply = owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, type, 0, 1024), nullptr));
    if (!reply || reply->type != type || reply->format != 32)
        return {};
    const auto* values = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
    return QList<quint32>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

// The root window of the screen Qt connected to: the display name may name a screen other than the first.
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

} // namespace

class FullScreenWatch::X11 final : public QAbstractNativeEventFilter {
public:
    X11(FullScreenWatch& watch, xcb_connection_t* connection)
        : watch(watch), connection(connection), root(rootWindow(connection)) {
        // Qt selects its own events on the root window; ours are added to them, never put in their place.
        auto attributes = owned(xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, root), nullptr));
        const quint32 mask = (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection);
        qApp->installNativeEventFilter(this);
    }
    ~X11() override { qApp->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            return false;
        const auto* notify = static_cast<const xcb_property_notify_event_t*>(message);
        if (notify->window == root && (notify->atom == activeWindow || notify->atom == currentDesktop))
            emit watch.changed();
        return false;
    }

    bool isOccupied(const QScreen& screen) const {
        const QList<quint32> active = propertyValues(connection, root, activeWindow, XCB_ATOM_WINDOW);
        if (active.isEmpty() || active.first() == XCB_WINDOW_NONE)
            return false;
        const xcb_window_t window = active.first();
        // A window without a process id cannot be ours: Qt gives every window of ours one.
        const QList<quint32> pid = propertyValues(connection, window, wmPid, XCB_ATOM_CARDINAL);
        if (!pid.isEmpty() && pid.first() == quint32(getpid()))
            return false;
        if (!propertyValues(connection, window, wmState, XCB_ATOM_ATOM).contains(fullScreenState))
            return false;
        // Window managers reparent clients into frames, so the position is the client's origin seen from
        // the root, not its position inside its parent.
        auto geometry =
            owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
        auto origin = owned(xcb_translate_coordinates_reply(
            connection, xcb_translate_coordinates(connection, window, root, 0, 0), nullptr));
        if (!geometry || !origin)
            return false;
        // Qt scales a screen's size by the device pixel ratio but keeps its top-left corner in pixels.
        const QRect logical = screen.geometry();
        const QRect native(logical.topLeft(), (QSizeF(logical.size()) * screen.devicePixelRatio()).toSize());
        return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height) == native;
    }

private:
    FullScreenWatch& watch;
    xcb_connection_t* const connection;
    const xcb_window_t root;
    const xcb_atom_t activeWindow = atom(connection, "_NET_ACTIVE_WINDOW");
    const xcb_atom_t currentDesktop = atom(connection, "_NET_CURRENT_DESKTOP");
    const xcb_atom_t wmPid = atom(connection, "_NET_WM_PID");
    const xcb_atom_t wmState = atom(connection, "_NET_WM_STATE");
    const xcb_atom_t fullScreenState = atom(connection, "_NET_WM_STATE_FULLSCREEN");
};

FullScreenWatch::FullScreenWatch(QObject* parent) : QObject(parent) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto* application = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (application && application->connection() && rootWindow(application->connection()) != XCB_WINDOW_NONE)
        x11 = std::make_unique<X11>(*this, application->connection());
}

FullScreenWatch::~FullScreenWatch() = default;

bool FullScreenWatch::isOccupied(const QScreen& screen) const {
    return x11 && x11->isOccupied(screen);
}

} // namespace Dovrin::Stickies
