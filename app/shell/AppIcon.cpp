#include "app/shell/AppIcon.h"

using namespace Qt::StringLiterals;

// Resources of a static library are linked in only when something names their initialiser; the macro
// declares it where it is used, so outside any namespace.
static void initAppIconResources() {
    static const bool initialised = [] {
        Q_INIT_RESOURCE(AppIcon);
        return true;
    }();
    Q_UNUSED(initialised);
}

namespace Dovrin::Shell {

QIcon appIcon() {
    initAppIconResources();
    return QIcon(u":/shell/app/dovrin.svg"_s);
}

} // namespace Dovrin::Shell
