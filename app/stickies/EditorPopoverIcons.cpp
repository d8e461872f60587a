#include "app/stickies/EditorPopoverIcons.h"

#include "app/stickies/TintedSvg.h"

#include <QHash>

using namespace Qt::StringLiterals;

// Resources of a static library are linked in only when something names their initialiser.
static void initEditorPopoverIcons() {
    Q_INIT_RESOURCE(EditorPopoverIcons);
}

namespace Dovrin::Stickies {

QPixmap popoverSymbol(const QString& name, QSize size, const QColor& color, qreal devicePixelRatio) {
    static const bool initialised = (initEditorPopoverIcons(), true);
    Q_UNUSED(initialised);
    // Menus redraw their rows on every key; a symbol is rendered once per size, colour and scale.
    static QHash<QString, QPixmap> cache;
    const QString key = name + u'|' + QString::number(size.width()) + u'x' + QString::number(size.height()) +
                        u'|' + color.name(QColor::HexArgb) + u'|' + QString::number(devicePixelRatio);
    if (const auto found = cache.constFind(key); found != cache.cend())
        return *found;
    const QString path = u":/popovers/"_s + name + u".svg"_s;
    const QPixmap pixmap = tintedSvg(path, size, color, devicePixelRatio);
    cache.insert(key, pixmap);
    return pixmap;
}

} // namespace Dovrin::Stickies
