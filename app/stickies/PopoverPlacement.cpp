#include "app/stickies/PopoverPlacement.h"

#include "app/core/ScreenSpace.h"
#include "app/stickies/Geometry.h"

#include <QGuiApplication>
#include <QJsonObject>
#include <QScreen>
#include <QWebEngineView>
#include <QWidget>

#include <cmath>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies::PopoverPlacement {

namespace {

// The menu's rows draw their glyph this far in from its edge, so the glyph sits under the slash.
constexpr double slashInset = 5 + 9;
constexpr double gap = 6;

} // namespace

QRectF slashMenuFrame(const QRectF& caret, const QSizeF& size, const QRectF& visible) {
    const double x = caret.x() - slashInset;
    double y = caret.y() - gap - size.height();
    if (y < visible.y())
        y = Geometry::maxY(caret) + gap;
    return Geometry::clamped(QRectF(QPointF(x, y), size), visible);
}

QRectF overlayFrame(const QRectF& rect, const QSizeF& size, const QRectF& visible) {
    const double x = Geometry::midX(rect) - size.width() / 2;
    double y = Geometry::maxY(rect) + gap;
    if (y + size.height() > Geometry::maxY(visible))
        y = rect.y() - gap - size.height();
    return Geometry::clamped(QRectF(QPointF(x, y), size), visible);
}

QRectF linkEditorFrame(const QRectF& rect, const QSizeF& size, const QRectF& visible) {
    const double x = Geometry::midX(rect) - size.width() / 2;
    double y = rect.y() - gap - size.height();
    if (y < visible.y())
        y = Geometry::maxY(rect) + gap;
    return Geometry::clamped(QRectF(QPointF(x, y), size), visible);
}

std::optional<QRectF> screenRect(const QJsonValue& pageRect, const QWidget& webView) {
    if (!pageRect.isObject())
        return std::nullopt;
    const QJsonObject object = pageRect.toObject();
    double values[4];
    const char* const keys[] = {"x", "y", "width", "height"};
    for (int i = 0; i < 4; ++i) {
        const QJsonValue value = object.value(QLatin1StringView(keys[i]));
        if (!value.isDouble() || !std::isfinite(value.toDouble()))
            return std::nullopt;
        values[i] = value.toDouble();
    }
    // CSS pixels are the view's own pixels times the page's zoom.
    const auto* view = qobject_cast<const QWebEngineView*>(&webView);
    const double zoom = view ? view->zoomFactor() : 1.0;
    const QPointF topLeft = webView.mapToGlobal(QPointF(values[0] * zoom, values[1] * zoom));
    const QRectF qtRect(topLeft, QSizeF(std::max(0.0, values[2] * zoom), std::max(0.0, values[3] * zoom)));
    return Core::ScreenSpace::fromQt(qtRect, Core::ScreenSpace::primaryGeometry());
}

QRectF visibleFrame(const QWidget& window) {
    if (const QScreen* screen = window.screen())
        return Core::ScreenSpace::visibleFrame(*screen);
    if (const QScreen* main = QGuiApplication::primaryScreen())
        return Core::ScreenSpace::visibleFrame(*main);
    return {};
}

} // namespace Dovrin::Stickies::PopoverPlacement
