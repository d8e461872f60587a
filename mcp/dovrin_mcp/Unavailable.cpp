#include "mcp/dovrin_mcp/Unavailable.h"

#include <QCoreApplication>

namespace Dovrin::Mcp {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("Dovrin::Mcp::HostApp", text);
}

} // namespace

Unavailable Unavailable::noDataDirectory() {
    return {tr("dovrin-mcp has no data directory (it needs $DOVRIN_HOME or $XDG_DATA_HOME, or a home folder "
               "it can write).")};
}

Unavailable Unavailable::notRunning() {
    return {tr("Dovrin isn't running — open Dovrin")};
}

Unavailable Unavailable::couldNotOpen(const QString& description) {
    return {tr("Dovrin isn't running — open Dovrin (it couldn't be opened: %1)").arg(description)};
}

Unavailable Unavailable::openedButSilent() {
    return {tr("Dovrin isn't running — open Dovrin (it was opened but didn't answer within 10 s)")};
}

Unavailable Unavailable::cannotReach(const QString& path, const QString& description) {
    return {tr("Can't reach Dovrin at %1: %2").arg(path, description)};
}

Unavailable Unavailable::closedBeforeReading() {
    return {tr("Dovrin closed the connection before reading the request.")};
}

Unavailable Unavailable::noAnswer() {
    return {tr("Dovrin didn't answer in time. Try again.")};
}

} // namespace Dovrin::Mcp
