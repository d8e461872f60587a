#include "DefaultColor.h"

#include "AppSettings.h"

#include <QSettings>

namespace Dovrin::Agent {

Store::StickyColor defaultStickyColor() {
    return Store::stickyColorIfKnown(Bridge::appSettings().value(QStringLiteral("defaultColor")).toString())
        .value_or(Store::StickyColor::yellow);
}

} // namespace Dovrin::Agent
