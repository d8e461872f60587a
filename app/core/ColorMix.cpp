#include "app/core/ColorMix.h"

namespace Dovrin::Core {

QColor mixed(const QColor& from, const QColor& to, float amount) {
    const auto channel = [amount](float a, float b) { return a + (b - a) * amount; };
    return QColor::fromRgbF(channel(from.redF(), to.redF()), channel(from.greenF(), to.greenF()),
                            channel(from.blueF(), to.blueF()));
}

QColor withAlpha(QColor color, float alpha) {
    color.setAlphaF(alpha);
    return color;
}

} // namespace Dovrin::Core
