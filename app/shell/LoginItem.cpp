#include "app/shell/LoginItem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell::LoginItem {

namespace {

// Desktop entries quote an Exec argument with double quotes, escaping ", `, $ and \ inside.
QString quoted(const QString& path) {
    QString escaped = path;
    for (const QChar special : {QChar('\\'), QChar('"'), QChar('`'), QChar('$')})
        escaped.replace(special, u"\\"_s + special);
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

QString entryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           u"/autostart/dovrin.desktop"_s;
}

bool isEnabled() {
    return QFileInfo::exists(entryPath());
}

Result<void, QString> enable(const QString& program) {
    const QString path = entryPath();
    if (!QDir().mkpath(QFileInfo(path).path()))
        return QCoreApplication::translate("LoginItem", "Can’t create the folder %1.")
            .arg(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QCoreApplication::translate("LoginItem", "Can’t write %1: %2").arg(path, file.errorString());
    const QString executable = program.isEmpty() ? QCoreApplication::applicationFilePath() : program;
    file.write(u"[Desktop Entry]\nType=Application\nName=Dovrin\nExec=%1 --background\n"
               "X-GNOME-Autostart-enabled=true\nTerminal=false\n"_s.arg(quoted(executable))
                   .toUtf8());
    if (!file.commit())
        return QCoreApplication::translate("LoginItem", "Can’t write %1: %2").arg(path, file.errorString());
    return {};
}

Result<void, QString> disable() {
    QFile file(entryPath());
    if (file.exists() && !file.remove())
        return QCoreApplication::translate("LoginItem", "Can’t remove %1: %2")
            .arg(entryPath(), file.errorString());
    return {};
}

} // namespace Dovrin::Shell::LoginItem
