#pragma once

#include <QList>
#include <QtGlobal>

#include <cstdlib>
#include <memory>

#include <xcb/xcb.h>

// The little of the X protocol Dovrin speaks itself, over the connection Qt already has.
namespace Dovrin::Agent::X11 {

// Qt's connection to the X server; none unless Qt runs on X11.
xcb_connection_t* connection();

// Frees an xcb reply on every path out.
template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply> Owned<Reply> owned(Reply* reply) {
    return Owned<Reply>(reply, &std::free);
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name);
// The 32-bit values of a window property of the given type; empty when it is missing or of another type.
QList<quint32> propertyValues(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                              xcb_atom_t type);
// The root window of the screen Qt connected to: the display name may name a screen other than the first.
xcb_window_t rootWindow(xcb_connection_t* connection);
// Whether a compositing manager runs on that screen; without one, transparent pixels of a window show black.
bool hasCompositingManager(xcb_connection_t* connection);

} // namespace Dovrin::Agent::X11
