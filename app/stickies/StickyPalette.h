#pragma once

#include "app/store/Note.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QSize>

namespace Dovrin::Stickies {

enum class Appearance { light, dark };

// The one place that decides whether stickies draw in their dark values.
Appearance currentAppearance();

// The colours a sticky of one colour draws with: its fill, its text and the tint of its controls.
struct StickyColors {
    QColor fill;
    QColor text;
    QColor tint;

    friend bool operator==(const StickyColors&, const StickyColors&) = default;
};

StickyColors stickyPalette(Store::StickyColor color, Appearance appearance);
inline StickyColors stickyPalette(Store::StickyColor color) {
    return stickyPalette(color, currentAppearance());
}

// Neutral chrome colours drawn over any sticky colour.
struct NeutralColors {
    // The resting background of a hover control.
    QColor controlBackground;
    // A hover control under the mouse or pressed.
    QColor controlHighlight;
    // Glyphs that are not tinted by the note's colour (the close mark).
    QColor secondaryGlyph;
    // The hairline around the note.
    QColor border;
};

NeutralColors neutralColors(Appearance appearance);

// A swatch of the colour as menus and lists show it: a filled oval with a hairline edge, transparent
// around it, drawn for the given device pixel ratio.
QImage swatchImage(Store::StickyColor color, QSize size, qreal devicePixelRatio, Appearance appearance);
// The 12-point swatch menus show beside a colour, for the screen and appearance in use.
QIcon swatchIcon(Store::StickyColor color);

} // namespace Dovrin::Stickies
