#include "app/stickies/FullScreenWatch.h"
#include "tests/support/PrivateXServer.h"

#include <QGuiApplication>
#include <QProcess>
#include <QRect>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>
#include <unistd.h>
#include <xcb/xcb.h>

using namespace Qt::StringLiterals;

using Dovrin::Stickies::FullScreenWatch;

namespace {

// Plays the window manager and another application, on a connection of its own.
class WindowManager final {
public:
    WindowManager() {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        root = screen->root;
        screenRect = QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels);
    }
    ~WindowManager() { xcb_disconnect(connection); }

    // A mapped client inside a frame with a title strip, as a reparenting window manager leaves it.
    xcb_window_t window(const QRect& client, quint32 pid, bool fullScreen) {
        const xcb_window_t frame = xcb_generate_id(connection);
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, frame, root, client.x(), client.y() - 20,
                          client.width(), client.height() + 20, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        const xcb_window_t window = xcb_generate_id(connection);
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, frame, 0, 20, client.width(),
                          client.height(), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0,
                          nullptr);
        set(window, "_NET_WM_PID", XCB_ATOM_CARDINAL, pid);
        set(window, "_NET_WM_STATE", XCB_ATOM_ATOM, fullScreen ? atom("_NET_WM_STATE_FULLSCREEN") : 0);
        xcb_map_window(connection, window);
        xcb_map_window(connection, frame);
        return window;
    }
    void activate(xcb_window_t window) { set(root, "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW, window); }
    void switchDesktop(quint32 desktop) { set(root, "_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL, desktop); }

    QRect screenRect;

private:
    xcb_atom_t atom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply->atom;
        std::free(reply);
        return atom;
    }
    // Waits for the server to have applied the change, so the next question sees it.
    void set(xcb_window_t window, const char* name, xcb_atom_t type, quint32 value) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atom(name), type, 32, 1, &value);
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }

    xcb_connection_t* const connection = xcb_connect(nullptr, nullptr);
    xcb_window_t root = XCB_WINDOW_NONE;
};

} // namespace

// Runs in a child process whose Qt talks to a virtual X server.
class FullScreenWatchOnX11Test final : public QObject {
    Q_OBJECT

private slots:
    void activeFullScreenWindowOfAnotherApp_aloneOccupiesScreenAndSignals() {
        FullScreenWatch watch;
        QSignalSpy changes(&watch, &FullScreenWatch::changed);
        WindowManager manager;
        manager.activate(manager.window(manager.screenRect, quint32(getppid()), true));
        QTRY_VERIFY(!changes.isEmpty());
        QVERIFY(watch.isOccupied(*QGuiApplication::primaryScreen()));

        changes.clear();
        manager.switchDesktop(1);
        QTRY_VERIFY(!changes.isEmpty());

        // Its own full-screen window, a windowed one, one a pixel short and none at all leave it free.
        const QScreen& screen = *QGuiApplication::primaryScreen();
        manager.activate(manager.window(manager.screenRect, quint32(getpid()), true));
        QVERIFY(!watch.isOccupied(screen));
        manager.activate(manager.window(manager.screenRect, quint32(getppid()), false));
        QVERIFY(!watch.isOccupied(screen));
        manager.activate(manager.window(manager.screenRect.adjusted(0, 0, -1, 0), quint32(getppid()), true));
        QVERIFY(!watch.isOccupied(screen));
        manager.activate(XCB_WINDOW_NONE);
        QVERIFY(!watch.isOccupied(screen));
    }
};

class FullScreenWatchTest final : public QObject {
    Q_OBJECT

private slots:
    // Offscreen nothing is ever occupied; on X11 once unscaled and once at twice the scale, where Qt's
    // screen size and the server's pixels differ.
    void onX11_checksActiveWindowAgainstScreen() {
        QVERIFY(!FullScreenWatch().isOccupied(*QGuiApplication::primaryScreen()));
        const Dovrin::Testing::PrivateXServer x;
        QVERIFY2(!x.display().isEmpty(), "Xvfb could not be started; the set-up script installs it");
        for (const char* scale : {"1", "2"}) {
            QProcessEnvironment scaled;
            scaled.insert(u"QT_SCALE_FACTOR"_s, QLatin1String(scale));
            QString output;
            QVERIFY2(x.runOnX11(&output, scaled), qPrintable(output));
        }
    }
};

int main(int argc, char** argv) {
    return Dovrin::Testing::runTests<QGuiApplication, FullScreenWatchTest, FullScreenWatchOnX11Test>(argc,
                                                                                                     argv);
}

#include "FullScreenWatchTest.moc"
