#pragma once

#include <QColor>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace Dovrin::Stickies {

// The symbols the sticky draws, shipped as monochrome SVG and tinted when drawn.
enum class StickyGlyph { xmark, plus, link, checkmark, sparkle };

// The glyph rendered at `size` logical pixels for the given device pixel ratio, in one colour.
QPixmap tintedGlyph(StickyGlyph glyph, QSize size, const QColor& color, qreal devicePixelRatio);

} // namespace Dovrin::Stickies
