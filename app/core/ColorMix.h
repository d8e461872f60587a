#pragma once

#include <QColor>

namespace Dovrin::Core {

// `from` moved `amount` (0…1) of the way towards `to`, channel by channel, opaque.
QColor mixed(const QColor& from, const QColor& to, float amount);
QColor withAlpha(QColor color, float alpha);

} // namespace Dovrin::Core
