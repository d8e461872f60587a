#include "app/stickies/StickyViewIcons.h"

#include "app/stickies/TintedSvg.h"

using namespace Qt::StringLiterals;

// Resources of a static library are linked in only when something names their initialiser.
static void initStickyViewIcons() {
    Q_INIT_RESOURCE(StickyViewIcons);
}

namespace Dovrin::Stickies {

namespace {

QString resourcePath(StickyGlyph glyph) {
    switch (glyph) {
    case StickyGlyph::xmark:
        return u":/stickies/icons/xmark.svg"_s;
    case StickyGlyph::plus:
        return u":/stickies/icons/plus.svg"_s;
    case StickyGlyph::link:
        return u":/stickies/icons/link.svg"_s;
    case StickyGlyph::checkmark:
        return u":/stickies/icons/checkmark.svg"_s;
    case StickyGlyph::sparkle:
        return u":/stickies/icons/sparkle.svg"_s;
    }
    return {};
}

} // namespace

QPixmap tintedGlyph(StickyGlyph glyph, QSize size, const QColor& color, qreal devicePixelRatio) {
    static const bool initialised = (initStickyViewIcons(), true);
    Q_UNUSED(initialised);
    return tintedSvg(resourcePath(glyph), size, color, devicePixelRatio);
}

} // namespace Dovrin::Stickies
