#pragma once

#include "app/stickies/StickyViewState.h"
#include "app/store/Note.h"

#include <QString>

// Every text a sticky window shows or speaks, in one place so that the sticky menu can reuse the
// command titles.
namespace Dovrin::Stickies::StickyViewTexts {

// The note's title, or "Untitled".
QString windowTitle(const Store::Note& note);

// What a screen reader says about the window: its color and states, then what an AI did last.
QString accessibilityValue(const Store::Note& note,
                           const std::optional<Agent::Provenance::Label>& provenance);

// The title of a sticky command, as the accessibility actions and the sticky menu name it. The collapse
// command reads "Expand" on a collapsed note.
QString actionTitle(StickyAction action, const Store::Note& note);

QString closeLabel();
QString closeToolTip();
QString newStickyLabel();
QString copyLinkLabel(bool showingCopied);
QString copyLinkToolTip(bool noteHasText);

} // namespace Dovrin::Stickies::StickyViewTexts
