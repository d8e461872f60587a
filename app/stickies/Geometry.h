#pragma once

#include <QList>
#include <QRectF>
#include <QString>

class QScreen;

// Sticky placement, in y-up screen coordinates: origin at the bottom-left of the primary screen, y grows
// upwards, so a rectangle's y is its bottom edge. Converting to and from Qt's coordinates, and reading a
// screen's frames, is Core::ScreenSpace's.
namespace Dovrin::Stickies::Geometry {

inline constexpr double titleStripHeight = 32;
inline constexpr double stickyWidth = 260;
inline constexpr double gridGap = 16;
inline constexpr double cascadeStep = 22;
inline constexpr double newStickySize = 260;
inline constexpr double userCascadeStep = 24;
inline constexpr double cursorOffset = 12;
inline constexpr double menuBarOffset = 8;

inline double maxX(const QRectF& r) {
    return r.x() + r.width();
}
inline double maxY(const QRectF& r) {
    return r.y() + r.height();
}
inline double midX(const QRectF& r) {
    return r.x() + r.width() / 2;
}
inline double midY(const QRectF& r) {
    return r.y() + r.height() / 2;
}

QRectF clamped(const QRectF& rect, const QRectF& bounds);
// The frame's title strip along its top edge: all that a collapsed sticky shows.
QRectF topStrip(const QRectF& frame);
// Leaves a frame whose title strip shows enough on some screen; otherwise moves it onto the nearest one.
QRectF corrected(const QRectF& frame, const QList<QRectF>& visibleFrames);

// Where a new sticky goes: just below and right of the mouse; below the tray icon's right edge; or
// cascaded from another sticky (back at the top-left when the cascade would leave the screen).
QRectF atMouse(const QPointF& mouse, const QRectF& visible);
QRectF belowAnchor(const QRectF& anchor, const QRectF& visible);
QRectF after(const QRectF& source, const QSizeF& size, const QRectF& visible);

// How tall a sticky showing this markdown will be, for placing an AI's batch before it renders.
double estimatedHeight(const QString& markdown);
// One frame per height: a centred grid that avoids the obstacles, then a cascade for what does not fit.
QList<QRectF> batchLayout(const QList<double>& heights, const QRectF& visible,
                          const QList<QRectF>& obstacles);

// A stable text for a screen, stored with a sticky: its serial number, else manufacturer, model and name.
QString screenID(const QScreen& screen);

// A frame as log lines write it: "{{x, y}, {width, height}}".
QString logText(const QRectF& frame);

} // namespace Dovrin::Stickies::Geometry
