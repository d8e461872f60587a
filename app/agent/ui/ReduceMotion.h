#pragma once

namespace Dovrin::Agent {

// Whether the desktop asks for animations to be left out: GTK's "gtk-enable-animations" (GTK 4 and 3) or
// KDE's animation speed set to instant, in the user's configuration folder. Off when nothing says so.
// Read afresh on every call, so a change applies to the next animation.
bool reduceMotion();

} // namespace Dovrin::Agent
