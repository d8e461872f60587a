#pragma once

class QObject;

namespace Dovrin::Stickies {
class StickyController;
class StickyPanel;
} // namespace Dovrin::Stickies

// How a sticky's window comes and goes; callers decide whether motion is reduced.
namespace Dovrin::Stickies::StickyAnimations {

// A sticky the user asked for fades in.
void fadeIn(StickyPanel& panel);
// Fades the window out from where it is, then deletes `going`.
void fadeOut(StickyPanel& panel, QObject& going);
// An AI's note fades in and, without reduced motion, grows from slightly smaller to its frame.
void reveal(StickyController& sticky, bool reduced);

} // namespace Dovrin::Stickies::StickyAnimations
