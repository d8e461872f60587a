#include "app/shell/HotKeyAction.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

QString title(HotKeyAction action) {
    switch (action) {
    case HotKeyAction::newSticky:
        return QCoreApplication::translate("HotKeyAction", "New sticky", "Settings: global shortcut name");
    case HotKeyAction::searchNotes:
        return QCoreApplication::translate("HotKeyAction", "Search notes", "Settings: global shortcut name");
    case HotKeyAction::showHideAll:
        return QCoreApplication::translate("HotKeyAction", "Show/Hide all stickies",
                                           "Settings: global shortcut name");
    }
    return {};
}

QString caseName(HotKeyAction action) {
    switch (action) {
    case HotKeyAction::newSticky:
        return u"newSticky"_s;
    case HotKeyAction::searchNotes:
        return u"searchNotes"_s;
    case HotKeyAction::showHideAll:
        return u"showHideAll"_s;
    }
    return {};
}

} // namespace Dovrin::Shell
