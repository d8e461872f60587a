#pragma once

#include "app/core/AppLanguage.h"

#include <QRectF>
#include <QString>

namespace Dovrin::Stickies {

// The welcome note's text in `language`: how to connect an AI, a to-do list for it, and tips. The tip about
// the new-sticky shortcut is there only when `newStickyShortcut` (its display text) is not empty.
QString welcomeMarkdown(Core::AppLanguage language, const QString& newStickyShortcut);

// Where the welcome note opens (y-up): 300 × 400, centred, a third of the way down the visible frame.
QRectF welcomeFrame(const QRectF& visibleFrame);

} // namespace Dovrin::Stickies
