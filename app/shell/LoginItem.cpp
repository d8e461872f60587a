#include "LoginItem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace Dovrin::Shell::LoginItem {

namespace {

// Desktop entries quote an Exec argument with double quotes, escaping ", `, $ and \ inside.
QString quoted(const QString& path) {
    QString escaped = path;
    for (const QChar special : {QChar('\\'), QChar('"'), QChar('`'), QChar('$')})
        escaped.replace(special, QStringLiteral("\\") + special);
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

QString entryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/dovrin.desktop");
}

bool isEnabled() {
    return QFileInfo::exists(entryPath());
}

Result<void, QString> enable(const QString& program) {
    const QString path = entryPath();
    if (!QDir().mkpath(QFileInfo(path).path()))
        return QStringLiteral("can't create %1").arg(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("can't write %1: %2").arg(path, file.errorString());
    const QString executable = program.isEmpty() ? QCoreApplication::applicationFilePath() : program;
    file.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=Dovrin\nExec=%1 --background\n"
                              "X-GNOME-Autostart-enabled=true\nTerminal=false\n")
                   .arg(quoted(executable))
                   .toUtf8());
    if (!file.commit())
        return QStringLiteral("can't write %1: %2").arg(path, file.errorString());
    return {};
}

Result<void, QString> disable() {
    QFile file(entryPath());
    if (file.exists() && !file.remove())
        return QStringLiteral("can't remove %1: %2").arg(entryPath(), file.errorString());
    return {};
}

} // namespace Dovrin::Shell::LoginItem
