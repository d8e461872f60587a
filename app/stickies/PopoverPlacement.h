#pragma once

#include <QJsonValue>
#include <QRectF>
#include <QSizeF>

#include <optional>

class QWidget;

// Where the overlays around a sticky's editor go. Frames are in y-up screen coordinates (Geometry's), so a
// rectangle's y is its bottom edge; the page reports its rectangles in its own CSS pixels.
namespace Dovrin::Stickies::PopoverPlacement {

// The slash menu: its rows start just left of the caret, 6 below it; near the bottom of the screen it
// opens above the caret instead. Kept inside the visible frame.
QRectF slashMenuFrame(const QRectF& caret, const QSizeF& size, const QRectF& visible);
// The format bar, the hover card and the link editor: centred 6 above the rectangle, or 6 below it when
// the top would leave the screen. Kept inside the visible frame.
QRectF overlayFrame(const QRectF& rect, const QSizeF& size, const QRectF& visible);

// The link editor: centred 6 below the link, so the link and the lines above it stay in sight, or 6 above
// it when the bottom would leave the screen. Kept inside the visible frame.
QRectF linkEditorFrame(const QRectF& rect, const QSizeF& size, const QRectF& visible);

// A rectangle the page reported ({ x, y, width, height } relative to its viewport) on the screen, through
// the view that shows the page; nothing when it is not such an object.
std::optional<QRectF> screenRect(const QJsonValue& pageRect, const QWidget& webView);
// The visible frame of the window's screen, else of the main screen.
QRectF visibleFrame(const QWidget& window);

} // namespace Dovrin::Stickies::PopoverPlacement
