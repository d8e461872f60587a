#pragma once

#include "app/core/Result.h"

#include <QString>

namespace Dovrin::Shell {

// Opening Dovrin at login: an XDG autostart entry that starts it in the background. Errors are texts for the
// settings window, which shows them under its toggle.
namespace LoginItem {

// $XDG_CONFIG_HOME/autostart/dovrin.desktop
QString entryPath();
bool isEnabled();
// Writes the entry for `program` (this executable unless given), whole or not at all.
Result<void, QString> enable(const QString& program = {});
Result<void, QString> disable();

} // namespace LoginItem

} // namespace Dovrin::Shell
