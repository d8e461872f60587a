#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace Dovrin::Shell {

// Starts a new instance in place of this one, which then quits; the new one waits for this process to be
// gone because "relaunchedFrom" names it.
class Relauncher final {
public:
    // This program with its own arguments.
    explicit Relauncher(QSettings& settings);
    Relauncher(QSettings& settings, QString program, QStringList arguments);

    // Links among the arguments are left out: they were opened already. False (logged, and "relaunchedFrom"
    // removed again) when the new instance could not be started.
    bool relaunch() const;

private:
    QSettings& m_settings;
    QString m_program;
    QStringList m_arguments;
};

} // namespace Dovrin::Shell
