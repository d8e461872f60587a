#include "AppSettings.h"

#include <QSettings>
#include <QStandardPaths>

namespace Dovrin::Bridge {

QSettings& appSettings() {
    static QSettings settings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                                  QStringLiteral("/dovrin/dovrin.conf"),
                              QSettings::IniFormat);
    return settings;
}

} // namespace Dovrin::Bridge
