#include "AppDelegate.h"
#include "EditorProfile.h"
#include "TerminationSignals.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    Dovrin::Stickies::prepareEditorEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dovrin"));
    // A tray app: closing its last window does not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    // --background (as dovrin-mcp and the login item start it) needs nothing more: no window is raised.
    Dovrin::Shell::AppDelegate delegate;
    Dovrin::Shell::TerminationSignals termination;
    QObject::connect(&termination, &Dovrin::Shell::TerminationSignals::terminationRequested, &delegate,
                     &Dovrin::Shell::AppDelegate::quit);
    if (!delegate.launch())
        return 1;
    return QApplication::exec();
}
