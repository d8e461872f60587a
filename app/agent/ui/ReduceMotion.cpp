#include "app/agent/ui/ReduceMotion.h"

#include <QFile>
#include <QStandardPaths>
#include <QString>

#include <optional>

using namespace Qt::StringLiterals;

namespace Dovrin::Agent {

namespace {

// One value of an INI-style file, as the desktops write them; missing file, section or key give nothing.
std::optional<QString> iniValue(const QString& path, const QString& section, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    const QString header = QLatin1Char('[') + section + QLatin1Char(']');
    bool inSection = false;
    // Settings files are a few kilobytes; a larger one is not worth reading for this.
    for (const QByteArray& raw : file.read(64 * 1024).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inSection = line == header;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inSection && equals > 0 && line.left(equals).trimmed() == key)
            return line.mid(equals + 1).trimmed();
    }
    return std::nullopt;
}

bool isFalse(const std::optional<QString>& value) {
    return value && (value->compare("false"_L1, Qt::CaseInsensitive) == 0 || *value == "0"_L1);
}

} // namespace

bool reduceMotion() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    for (const char* gtk : {"/gtk-4.0/settings.ini", "/gtk-3.0/settings.ini"}) {
        if (isFalse(iniValue(config + QLatin1String(gtk), u"Settings"_s, u"gtk-enable-animations"_s)))
            return true;
    }
    const auto kdeFactor = iniValue(config + "/kdeglobals"_L1, u"KDE"_s, u"AnimationDurationFactor"_s);
    bool isNumber = false;
    return kdeFactor && kdeFactor->toDouble(&isNumber) == 0 && isNumber;
}

} // namespace Dovrin::Agent
