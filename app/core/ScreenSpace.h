#pragma once

#include <QList>
#include <QRect>
#include <QRectF>

class QPointF;
class QScreen;

// Dovrin places windows in y-up screen coordinates: origin at the bottom-left corner of the primary
// screen, y growing upwards, the frames stored with every note. Qt's have the origin at the top-left, y
// growing downwards. Geometry is computed in y-up coordinates and converted only where it meets a window
// or a screen.
namespace Dovrin::Core::ScreenSpace {

// `primary` is the primary screen's geometry in Qt's coordinates.
QRectF fromQt(const QRectF& rect, const QRectF& primary);
QRectF toQt(const QRectF& rect, const QRectF& primary);

// A window's frame between y-up coordinates and Qt's, over the current primary screen.
QRect toWindow(const QRectF& frame);
QRectF fromWindow(const QRect& windowFrame);
QPointF fromQtPoint(const QPointF& point);

// A screen's frame and visible frame (without panels and docks), in y-up coordinates.
struct ScreenFrames {
    QRectF frame;
    QRectF visibleFrame;
};

// The main screen first, then the others.
QList<ScreenFrames> screens();
// One screen's frame and visible frame, in y-up coordinates.
QRectF frame(const QScreen& screen);
QRectF visibleFrame(const QScreen& screen);
// The primary screen's geometry in Qt's coordinates (empty when there is no screen).
QRectF primaryGeometry();

// The visible frames of all screens, the main screen's first.
QList<QRectF> visibleFrames();
// The first screen whose frame contains the point, else the primary screen (none without screens).
QScreen* screenContaining(const QPointF& point);
// The first screen whose frame meets the rectangle, if any.
QScreen* screenIntersecting(const QRectF& rect);
QPointF mouseLocation();

} // namespace Dovrin::Core::ScreenSpace
