#include "app/shell/CardShadow.h"

#include <algorithm>
#include <cmath>

namespace Dovrin::Shell {

namespace {

// Signed distance from a point to a rounded rectangle (negative inside), in logical pixels.
qreal distanceTo(const QRectF& rect, qreal radius, QPointF point) {
    const QPointF centre = rect.center();
    const qreal qx = std::abs(point.x() - centre.x()) - rect.width() / 2 + radius;
    const qreal qy = std::abs(point.y() - centre.y()) - rect.height() / 2 + radius;
    const qreal outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

} // namespace

QImage cardShadow(QSize size, const QRectF& card, qreal radius, const QList<ShadowLayer>& layers,
                  qreal devicePixelRatio) {
    QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QPointF point((x + 0.5) / devicePixelRatio, (y + 0.5) / devicePixelRatio);
            // The card covers its own shadow.
            if (distanceTo(card, radius, point) < -1) {
                line[x] = 0;
                continue;
            }
            // Layers darken what lies under them, one over the other.
            qreal clear = 1;
            for (const ShadowLayer& layer : layers) {
                const qreal distance = distanceTo(card.translated(0, layer.offset), radius, point);
                // The share of a blurred edge that reaches this far: the Gaussian's tail beyond the distance.
                const qreal shade = 0.5 * std::erfc(distance / (layer.blur * std::sqrt(2.0)));
                clear *= 1 - layer.opacity * shade;
            }
            line[x] = qPremultiply(qRgba(0, 0, 0, qRound(255 * (1 - clear))));
        }
    }
    return image;
}

} // namespace Dovrin::Shell
