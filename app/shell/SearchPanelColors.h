#pragma once

#include "app/stickies/StickyPalette.h"

#include <QColor>

class QPalette;

namespace Dovrin::Shell {

// The search card's colours, taken from the desktop's palette so the card sits among its other windows.
struct SearchPanelColors {
    QColor card;
    QColor border;
    // How dark the card's shadow is where it is darkest.
    qreal shadowOpacity = 0;
    QColor text;
    QColor secondaryText;
    QColor separator;
    QColor selection;
    QColor hover;
    QColor badge;
    QColor badgeText;
    QColor openBadge;
    QColor openBadgeText;
    Stickies::Appearance appearance = Stickies::Appearance::light;

    friend bool operator==(const SearchPanelColors&, const SearchPanelColors&) = default;
};

// When the palette's brightness disagrees with the appearance the desktop reports, the palette was not made
// for it and neutral colours of that appearance stand in.
SearchPanelColors searchPanelColors(const QPalette& palette, Stickies::Appearance appearance);

} // namespace Dovrin::Shell
