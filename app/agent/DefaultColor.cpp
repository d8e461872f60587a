#include "DefaultColor.h"

#include <QSettings>

namespace Dovrin::Agent {

Store::StickyColor defaultStickyColor() {
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("dovrin"),
                             QStringLiteral("dovrin"));
    return Store::stickyColorIfKnown(settings.value(QStringLiteral("defaultColor")).toString())
        .value_or(Store::StickyColor::yellow);
}

} // namespace Dovrin::Agent
