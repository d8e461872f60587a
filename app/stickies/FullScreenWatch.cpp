#include "app/stickies/FullScreenWatch.h"

#include "app/agent/ui/X11.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QList>
#include <QRect>
#include <QScreen>

#include <unistd.h>

namespace Dovrin::Stickies {

using namespace Agent::X11;

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
    xcb_connection_t* connection = Agent::X11::connection();
    if (connection && rootWindow(connection) != XCB_WINDOW_NONE)
        x11 = std::make_unique<X11>(*this, connection);
}

FullScreenWatch::~FullScreenWatch() = default;

bool FullScreenWatch::isOccupied(const QScreen& screen) const {
    return x11 && x11->isOccupied(screen);
}

} // namespace Dovrin::Stickies
