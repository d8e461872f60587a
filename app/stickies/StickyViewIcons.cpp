#include "StickyViewIcons.h"

#include "Log.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>

// Resources of a static library are linked in only when something names their initialiser.
static void initStickyViewIcons() {
    Q_INIT_RESOURCE(StickyViewIcons);
}

namespace Dovrin::Stickies {

namespace {

QString resourcePath(StickyGlyph glyph) {
    switch (glyph) {
    case StickyGlyph::xmark:
        return QStringLiteral(":/stickies/icons/xmark.svg");
    case StickyGlyph::plus:
        return QStringLiteral(":/stickies/icons/plus.svg");
    case StickyGlyph::link:
        return QStringLiteral(":/stickies/icons/link.svg");
    case StickyGlyph::checkmark:
        return QStringLiteral(":/stickies/icons/checkmark.svg");
    case StickyGlyph::sparkle:
        return QStringLiteral(":/stickies/icons/sparkle.svg");
    }
    return {};
}

} // namespace

QPixmap tintedGlyph(StickyGlyph glyph, QSize size, const QColor& color, qreal devicePixelRatio) {
    static const bool initialised = (initStickyViewIcons(), true);
    Q_UNUSED(initialised);
    QImageReader reader(resourcePath(glyph));
    reader.setScaledSize(size * devicePixelRatio);
    QImage image = reader.read();
    if (image.isNull()) {
        qCWarning(dovrinLog, "glyph %s not drawn: %s", qPrintable(resourcePath(glyph)),
                  qPrintable(reader.errorString()));
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
