#include "app/core/AppSettings.h"

#include <QSettings>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace Dovrin::Core {

QSettings& appSettings() {
    static QSettings settings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                                  u"/dovrin/dovrin.conf"_s,
                              QSettings::IniFormat);
    return settings;
}

} // namespace Dovrin::Core
