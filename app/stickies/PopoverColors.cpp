#include "app/stickies/PopoverColors.h"

#include "app/core/ColorMix.h"

namespace Dovrin::Stickies {

using Core::mixed;
using Core::withAlpha;

PopoverColors popoverColors(Store::StickyColor color, Appearance appearance) {
    const StickyColors sticky = stickyPalette(color, appearance);
    const bool dark = appearance == Appearance::dark;
    PopoverColors colors;
    colors.appearance = appearance;
    colors.background = dark ? mixed(sticky.fill, Qt::white, 0.08f) : mixed(sticky.fill, Qt::white, 0.72f);
    colors.border = dark ? QColor::fromRgbF(1, 1, 1, 0.16f) : QColor::fromRgbF(0, 0, 0, 0.14f);
    colors.text = sticky.text;
    colors.secondaryText = withAlpha(sticky.text, 0.55f);
    colors.selectedBackground = withAlpha(sticky.tint, dark ? 0.32f : 0.16f);
    colors.highlight = dark ? QColor::fromRgbF(1, 1, 1, 0.10f) : QColor::fromRgbF(0, 0, 0, 0.06f);
    colors.separator = withAlpha(sticky.text, dark ? 0.16f : 0.10f);
    colors.tint = sticky.tint;
    colors.onTint = dark ? sticky.fill : QColor(Qt::white);
    return colors;
}

} // namespace Dovrin::Stickies
