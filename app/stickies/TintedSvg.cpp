#include "app/stickies/TintedSvg.h"

#include "app/core/Log.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>

namespace Dovrin::Stickies {

QPixmap tintedSvg(const QString& resourcePath, QSize size, const QColor& color, qreal devicePixelRatio) {
    QImageReader reader(resourcePath);
    reader.setScaledSize(size * devicePixelRatio);
    QImage image = reader.read();
    if (image.isNull()) {
        qCWarning(Core::stickiesLog, "glyph %s not drawn: %s", qUtf8Printable(resourcePath),
                  qUtf8Printable(reader.errorString()));
        return {};
    }
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

} // namespace Dovrin::Stickies
