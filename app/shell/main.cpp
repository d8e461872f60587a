#include "app/core/AppSettings.h"
#include "app/core/Log.h"
#include "app/shell/AppDelegate.h"
#include "app/shell/LaunchRequest.h"
#include "app/shell/PreviousInstance.h"
#include "app/shell/SingleInstance.h"
#include "app/shell/TerminationSignals.h"
#include "app/shell/Translations.h"
#include "app/stickies/EditorProfile.h"
#include "shared/bridge/DataDirectory.h"

#include <QApplication>
#include <QTextStream>

using namespace Qt::StringLiterals;

using namespace Dovrin;

namespace {

// True when another instance took the request and this one should end.
bool handedOver(Shell::SingleInstance& instance, const Shell::LaunchRequest& request, bool relaunched) {
    const auto role =
        instance.claim(relaunched ? Shell::SingleInstance::relaunchPatience : std::chrono::milliseconds(0));
    if (!role) {
        // Without the lock Dovrin still runs; only a second start would not find it.
        qCWarning(Core::shellLog, "single instance: %s", qUtf8Printable(role.error()));
        return false;
    }
    if (*role == Shell::SingleInstance::Role::primary)
        return false;
    if (const auto handed = instance.handOver(request); !handed) {
        QTextStream(stderr) << handed.error() << '\n';
        QCoreApplication::exit(1);
        return true;
    }
    QCoreApplication::exit(0);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    Stickies::prepareEditorEngine();
    QApplication app(argc, argv);
    Shell::installTranslations(Core::launchedLanguage());
    QApplication::setApplicationName(u"dovrin"_s);
    // Names the installed desktop entry, so a desktop finds the app's icon and name for its windows.
    QGuiApplication::setDesktopFileName(u"com.k7mn2.dovrin"_s);
    // A tray app: closing its last window does not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    // --background (as dovrin-mcp and the login item start it) raises no window of its own.
    const Shell::LaunchRequest request = Shell::LaunchRequest::fromArguments(QApplication::arguments());
    Shell::AppDelegate delegate;
    Shell::TerminationSignals termination;
    QObject::connect(&termination, &Shell::TerminationSignals::terminationRequested, &delegate,
                     &Shell::AppDelegate::quit);
    Shell::waitForPreviousInstance(Core::appSettings(), &delegate, [&](Shell::PreviousInstance previous) {
        std::unique_ptr<Shell::SingleInstance> instance;
        if (const auto directory = Bridge::dataDirectory()) {
            instance = std::make_unique<Shell::SingleInstance>(*directory);
            if (handedOver(*instance, request, previous.pid != 0))
                return;
        }
        if (!delegate.launch(request.background)) {
            QCoreApplication::exit(1);
            return;
        }
        if (instance) {
            QObject::connect(instance.get(), &Shell::SingleInstance::requestReceived, &delegate,
                             [&delegate](const QList<QUrl>& urls, bool background) {
                                 if (!urls.isEmpty())
                                     delegate.openUrls(urls);
                                 else if (!background)
                                     delegate.reopen();
                             });
            instance.release()->setParent(&delegate);
        }
        delegate.openUrls(request.urls);
    });
    return QApplication::exec();
}
