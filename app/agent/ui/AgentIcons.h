#pragma once

#include <QIcon>
#include <QString>

namespace Dovrin::Agent::AgentIcons {

// The icons live in a static library's resources, which must be registered before first use.
QIcon normal();
QIcon active();
// Tinted for the toasts.
QIcon sparkle(const QColor& color);
QIcon xmark(const QColor& color);

} // namespace Dovrin::Agent::AgentIcons
