#include "app/store/DefaultColor.h"

#include "app/core/AppSettings.h"

#include <QSettings>

using namespace Qt::StringLiterals;

namespace Dovrin::Store {

StickyColor defaultStickyColor() {
    return stickyColorIfKnown(Core::appSettings().value(u"defaultColor"_s).toString())
        .value_or(StickyColor::yellow);
}

} // namespace Dovrin::Store
