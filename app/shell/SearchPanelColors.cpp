#include "app/shell/SearchPanelColors.h"

#include "app/core/ColorMix.h"

#include <QPalette>

namespace Dovrin::Shell {

using Core::mixed;
using Core::withAlpha;

SearchPanelColors searchPanelColors(const QPalette& palette, Stickies::Appearance appearance) {
    const bool dark = appearance == Stickies::Appearance::dark;
    QColor window = palette.color(QPalette::Window);
    QColor text = palette.color(QPalette::WindowText);
    if ((window.lightnessF() < 0.5) != dark) {
        window = dark ? QColor(0x2A2B2E) : QColor(0xF2F2F3);
        text = dark ? QColor(0xECECEE) : QColor(0x1D1D1F);
    }
    const QColor accent = palette.color(QPalette::Highlight);
    SearchPanelColors colors;
    colors.appearance = appearance;
    // Raised a little above the desktop's windows, as a floating card is.
    colors.card = dark ? mixed(window, Qt::white, 0.05f) : mixed(window, Qt::white, 0.7f);
    colors.border = dark ? QColor::fromRgbF(1, 1, 1, 0.12f) : QColor::fromRgbF(0, 0, 0, 0.07f);
    colors.shadowOpacity = dark ? 0.55 : 0.2;
    colors.text = text;
    colors.secondaryText = withAlpha(text, dark ? 0.6f : 0.56f);
    colors.separator = withAlpha(text, dark ? 0.12f : 0.09f);
    colors.selection = withAlpha(accent, dark ? 0.36f : 0.16f);
    colors.hover = withAlpha(text, dark ? 0.06f : 0.04f);
    colors.badge = withAlpha(text, dark ? 0.10f : 0.06f);
    colors.badgeText = withAlpha(text, dark ? 0.66f : 0.6f);
    colors.openBadge = withAlpha(accent, dark ? 0.30f : 0.14f);
    colors.openBadgeText = dark ? mixed(accent, Qt::white, 0.55f) : mixed(accent, Qt::black, 0.25f);
    return colors;
}

} // namespace Dovrin::Shell
