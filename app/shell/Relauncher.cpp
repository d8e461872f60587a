#include "app/shell/Relauncher.h"

#include "app/core/Log.h"
#include "app/shell/LaunchRequest.h"
#include "app/shell/PreviousInstance.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

Relauncher::Relauncher(QSettings& settings)
    : Relauncher(settings, QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1)) {}

Relauncher::Relauncher(QSettings& settings, QString program, QStringList arguments)
    : m_settings(settings), m_program(std::move(program)), m_arguments(std::move(arguments)) {}

bool Relauncher::relaunch() const {
    const auto fail = [this](const QString& reason) {
        qCWarning(Core::shellLog, "relaunch failed: %s", qUtf8Printable(reason));
        m_settings.remove(QLatin1String(relaunchedFromKey));
        m_settings.sync();
        return false;
    };
    m_settings.setValue(QLatin1String(relaunchedFromKey), QCoreApplication::applicationPid());
    m_settings.sync();
    // Unstored, the new instance would not wait and would find this one still holding the instance lock.
    if (m_settings.status() != QSettings::NoError)
        return fail(u"can't store relaunchedFrom in %1"_s.arg(m_settings.fileName()));
    QStringList arguments;
    for (const QString& argument : m_arguments) {
        if (!isDovrinLink(argument))
            arguments.append(argument);
    }
    QProcess process;
    process.setProgram(m_program);
    process.setArguments(arguments);
    if (!process.startDetached())
        return fail(process.errorString());
    qCInfo(Core::shellLog, "relaunching");
    return true;
}

} // namespace Dovrin::Shell
