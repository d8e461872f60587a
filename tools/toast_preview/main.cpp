// Shows the real toast panel with three toasts on an X server and saves a capture of it as a PNG file for
// the documentation (tools/screenshots.sh).
//
//   toast_preview <output folder>

#include "app/agent/Toasts.h"
#include "app/agent/ui/ToastPanel.h"
#include "tests/support/ManualClock.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPainter>
#include <QScreen>
#include <QTextStream>
#include <QTimer>
#include <QUuid>

using namespace Dovrin::Agent;

namespace {

void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

ToastAction button(const QString& title) {
    return ToastAction{QUuid::createUuid(), title, [] {}};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        QTextStream(stderr) << "usage: toast_preview <output folder>\n";
        return 2;
    }
    QApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(".")) {
        QTextStream(stderr) << "cannot create " << folder.path() << '\n';
        return 1;
    }

    // A clock that stands still keeps the toasts from expiring while they are captured.
    ManualClock clock;
    Toasts toasts(clock);
    ToastPanel panel(toasts, [] { return std::nullopt; });
    toasts.show(ToastKey{"Claude", ToastKey::Kind::connected, std::nullopt}, std::nullopt,
                "Claude is connected to Dovrin.", {}, {});
    toasts.show(ToastKey{"Claude", ToastKey::Kind::created, std::nullopt}, QUuid::createUuid(),
                "Claude added a sticky.", {button("Show"), button("Undo")}, {});
    toasts.show(ToastKey{"Claude", ToastKey::Kind::deleted, std::nullopt}, QUuid::createUuid(),
                "Claude deleted “Weekend trip”.", {button("Undo")}, {});
    // Past the toasts' arrival.
    wait(1500);

    // Xvfb has no compositor, so the screen shows black where the panel is transparent; the window's own
    // pixels keep their alpha and are laid over a plain backdrop, as a desktop shows them.
    QImage window = QGuiApplication::primaryScreen()->grabWindow(panel.winId()).toImage();
    window.setDevicePixelRatio(panel.devicePixelRatioF());
    QImage canvas(window.size(), QImage::Format_RGB32);
    canvas.setDevicePixelRatio(window.devicePixelRatio());
    canvas.fill(QColor(0xE4E6EA));
    QPainter(&canvas).drawImage(QPointF(0, 0), window);
    const QString path = folder.filePath("toasts.png");
    const bool saved = !window.isNull() && canvas.save(path);
    QTextStream(stdout) << (saved ? "wrote " : "could not write ") << path << '\n';
    return saved ? 0 : 1;
}
