#include "app/stickies/PopoverColors.h"

namespace Dovrin::Stickies {

namespace {

QColor mixed(const QColor& from, const QColor& to, float amount) {
    const auto channel = [amount](float a, float b) { return a + (b - a) * amount; };
    return QColor::fromRgbF(channel(from.redF(), to.redF()), channel(from.greenF(), to.greenF()),
                            channel(from.blueF(), to.blueF()));
}

QColor withAlpha(QColor color, float alpha) {
    color.setAlphaF(alpha);
    return color;
}

} // namespace

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
