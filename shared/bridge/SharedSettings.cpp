#include "shared/bridge/SharedSettings.h"

#include "shared/bridge/DataDirectory.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace Dovrin::Bridge {

namespace {

const QLatin1String aiAccessKey("aiAccess");
const QLatin1String connectedAIsKey("connectedAIs");
const QLatin1String letAIOpenDovrinKey("letAIOpenDovrin");

QJsonObject readObject(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QString settingsPath() {
    return dataFile(QString::fromLatin1(settingsFileName)).value_or(QString());
}

} // namespace

SharedSettings SharedSettings::read() {
    const QString path = settingsPath();
    return path.isEmpty() ? SharedSettings() : readFile(path);
}

SharedSettings SharedSettings::readFile(const QString& path) {
    const QJsonObject object = readObject(path);
    SharedSettings settings;
    if (const auto access = aiAccessFromRawValue(object.value(aiAccessKey).toString()))
        settings.aiAccess = *access;
    const QJsonObject connected = object.value(connectedAIsKey).toObject();
    for (auto it = connected.begin(); it != connected.end(); ++it) {
        const QDateTime when = QDateTime::fromString(it.value().toString(), Qt::ISODateWithMs);
        if (when.isValid())
            settings.connectedAIs.insert(it.key(), when);
    }
    const QJsonValue letOpen = object.value(letAIOpenDovrinKey);
    if (letOpen.isBool())
        settings.letAIOpenDovrin = letOpen.toBool();
    return settings;
}

Result<void, QString> SharedSettings::write() const {
    const QString path = settingsPath();
    if (path.isEmpty())
        return u"the data directory is unavailable"_s;
    return writeFile(path);
}

Result<void, QString> SharedSettings::writeFile(const QString& path) const {
    QJsonObject object = readObject(path);
    object.insert(aiAccessKey, rawValue(aiAccess));
    QJsonObject connected;
    for (auto it = connectedAIs.begin(); it != connectedAIs.end(); ++it)
        connected.insert(it.key(), it.value().toUTC().toString(Qt::ISODateWithMs));
    object.insert(connectedAIsKey, connected);
    object.insert(letAIOpenDovrinKey, letAIOpenDovrin);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return u"can't write %1: %2"_s.arg(path, file.errorString());
    file.write(QJsonDocument(object).toJson(QJsonDocument::Indented));
    if (!file.commit())
        return u"can't write %1: %2"_s.arg(path, file.errorString());
    return {};
}

} // namespace Dovrin::Bridge
