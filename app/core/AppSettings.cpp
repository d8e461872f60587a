#include "app/core/AppSettings.h"

#include "app/core/Log.h"

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

void storeSetting(QSettings& settings, const QString& key, const QVariant& value) {
    if (value.isValid())
        settings.setValue(key, value);
    else
        settings.remove(key);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qCWarning(shellLog, "settings: %s not written to %s", qUtf8Printable(key),
                  qUtf8Printable(settings.fileName()));
}

} // namespace Dovrin::Core
