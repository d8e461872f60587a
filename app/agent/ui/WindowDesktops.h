#pragma once

class QWidget;

namespace Dovrin::Agent {

// Puts a top-level window on every virtual desktop. Call it before the window is mapped; where the
// platform has no virtual desktops it does nothing.
void joinAllDesktops(QWidget* window);

} // namespace Dovrin::Agent
