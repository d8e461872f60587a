#pragma once

#include "app/stickies/StickyPalette.h"

#include <QColor>

namespace Dovrin::Stickies {

// The colours of the overlays around a sticky's editor: a lighter (or, in the dark, slightly raised) shade
// of the note's own fill, its text colour and its tint, so an overlay reads as part of its sticky.
struct PopoverColors {
    QColor background;
    QColor border;
    QColor text;
    QColor secondaryText;
    // The row Return would run, an active format button.
    QColor selectedBackground;
    // A button under the mouse.
    QColor highlight;
    QColor separator;
    QColor tint;
    // Text on the tint (the prominent button).
    QColor onTint;
    Appearance appearance = Appearance::light;
};

PopoverColors popoverColors(Store::StickyColor color, Appearance appearance);

} // namespace Dovrin::Stickies
