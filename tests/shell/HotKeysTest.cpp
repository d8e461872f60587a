#include "app/shell/HotKeys.h"
#include "app/agent/Provenance.h"
#include "app/core/ScreenSpace.h"
#include "app/shell/PortalHotKeyGrabber.h"
#include "app/shell/ShortcutRecorder.h"
#include "app/stickies/EditorProfile.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"
#include "tests/support/PrivateXServer.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QLabel>
#include <QMutex>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QToolButton>
#include <QtTest>

#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

using namespace Dovrin;
using namespace Dovrin::Shell;
using namespace Qt::StringLiterals;

namespace {

constexpr char onPortalArgument[] = "--on-portal";
const QString portalPath = u"/org/freedesktop/portal/desktop"_s;

// Keysyms the test types.
enum : xcb_keysym_t {
    controlKey = 0xffe3,
    shiftKey = 0xffe1,
    altKey = 0xffe9,
    superKey = 0xffeb,
    capsLockKey = 0xffe5,
    numLockKey = 0xff7f,
    escapeKey = 0xff1b,
};

QStringList logLines;
void keepLogLine(QtMsgType, const QMessageLogContext&, const QString& message) {
    logLines.append(message);
}

// Another application on the same X server: it types through XTEST and holds key grabs of its own.
class OtherClient final {
public:
    OtherClient() : m_root(xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root) {}
    ~OtherClient() { xcb_disconnect(m_connection); }

    // Presses the keys in order and lets them go in reverse, as a person does.
    void type(std::initializer_list<xcb_keysym_t> keysyms) {
        for (const xcb_keysym_t keysym : keysyms)
            xcb_test_fake_input(m_connection, XCB_KEY_PRESS, keycode(keysym), XCB_CURRENT_TIME, XCB_NONE, 0,
                                0, 0);
        for (auto it = std::rbegin(keysyms); it != std::rend(keysyms); ++it)
            xcb_test_fake_input(m_connection, XCB_KEY_RELEASE, keycode(*it), XCB_CURRENT_TIME, XCB_NONE, 0, 0,
                                0);
        std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }
    bool grab(xcb_keysym_t keysym, uint16_t modifiers) {
        xcb_generic_error_t* error = xcb_request_check(
            m_connection, xcb_grab_key_checked(m_connection, 0, m_root, modifiers, keycode(keysym),
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return !error;
    }

private:
    xcb_keycode_t keycode(xcb_keysym_t keysym) {
        const xcb_setup_t* setup = xcb_get_setup(m_connection);
        xcb_get_keyboard_mapping_reply_t* map = xcb_get_keyboard_mapping_reply(
            m_connection,
            xcb_get_keyboard_mapping(m_connection, setup->min_keycode,
                                     setup->max_keycode - setup->min_keycode + 1),
            nullptr);
        const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(map);
        int index = 0;
        while (keysyms[index * map->keysyms_per_keycode] != keysym)
            ++index;
        std::free(map);
        return xcb_keycode_t(setup->min_keycode + index);
    }

    xcb_connection_t* const m_connection = xcb_connect(nullptr, nullptr);
    const xcb_window_t m_root;
};

QString problemShown(const ShortcutRecorder& recorder) {
    const auto* label = recorder.findChild<QLabel*>();
    return label->isVisible() ? label->text() : QString();
}

// The desktop's GlobalShortcuts portal as xdg-desktop-portal shows it on the bus: answers come later through
// Request objects' Response signals, sessions are objects closed through org.freedesktop.portal.Session,
// and a session binds its shortcuts once.
class PortalStandIn final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)

public:
    uint version() const { return 1; }

    // Every open session's bound shortcuts (id → preferred trigger).
    QList<QMap<QString, QString>> openSessions() {
        const QMutexLocker lock(&m_mutex);
        return m_sessions.values();
    }
    void activate(const QString& id) {
        const QMutexLocker lock(&m_mutex);
        for (auto it = m_sessions.cbegin(); it != m_sessions.cend(); ++it) {
            if (it->contains(id))
                QDBusConnection(u"portal"_s)
                    .send(QDBusMessage::createSignal(portalPath, u"org.freedesktop.portal.GlobalShortcuts"_s,
                                                     u"Activated"_s)
                          << QVariant::fromValue(QDBusObjectPath(it.key())) << id << quint64(0)
                          << QVariantMap());
        }
    }
    void close(const QString& session) {
        const QMutexLocker lock(&m_mutex);
        m_sessions.remove(session);
        m_bound.remove(session);
    }

public slots:
    QDBusObjectPath CreateSession(const QVariantMap& options) {
        const QString session = path(u"session"_s, options.value(u"session_handle_token"_s).toString());
        {
            const QMutexLocker lock(&m_mutex);
            m_sessions.insert(session, {});
        }
        // The session handle is a string, as the portal has always sent it.
        return respondLater(options, 0, {{u"session_handle"_s, session}});
    }
    // Qt D-Bus finds the argument's type by its name as written here, so it is spelled out in full.
    QDBusObjectPath BindShortcuts(const QDBusObjectPath& session,
                                  const QList<Dovrin::Shell::PortalShortcut>& shortcuts, const QString&,
                                  const QVariantMap& options) {
        const QMutexLocker lock(&m_mutex);
        if (!m_sessions.contains(session.path())) {
            sendErrorReply(QDBusError::AccessDenied, u"Invalid session"_s);
            return {};
        }
        if (m_bound.contains(session.path()))
            return respondLater(options, 2, {});
        m_bound.insert(session.path());
        PortalShortcuts bound;
        for (const PortalShortcut& shortcut : shortcuts) {
            const QString trigger = shortcut.properties.value(u"preferred_trigger"_s).toString();
            m_sessions[session.path()].insert(shortcut.id, trigger);
            bound.append({shortcut.id,
                          {{u"description"_s, shortcut.properties.value(u"description"_s)},
                           {u"trigger_description"_s, trigger}}});
        }
        return respondLater(options, 0, {{u"shortcuts"_s, QVariant::fromValue(bound)}});
    }

private:
    QString path(const QString& kind, const QString& token) const {
        return u"%1/%2/%3/%4"_s.arg(portalPath, kind, message().service().mid(1).replace(u'.', u'_'), token);
    }
    // The method's reply goes out first, the Response afterwards, as from the real portal.
    QDBusObjectPath respondLater(const QVariantMap& options, uint response, const QVariantMap& results) {
        const QString request = path(u"request"_s, options.value(u"handle_token"_s).toString());
        QMetaObject::invokeMethod(
            this,
            [request, response, results] {
                QDBusConnection(u"portal"_s)
                    .send(QDBusMessage::createSignal(request, u"org.freedesktop.portal.Request"_s,
                                                     u"Response"_s)
                          << response << results);
            },
            Qt::QueuedConnection);
        return QDBusObjectPath(request);
    }

    QMutex m_mutex;
    QMap<QString, QMap<QString, QString>> m_sessions;
    QSet<QString> m_bound;
};

// The portal's Session objects, at any path under …/session.
class PortalSessions final : public QDBusVirtualObject {
public:
    explicit PortalSessions(PortalStandIn& portal) : m_portal(portal) {}
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != "org.freedesktop.portal.Session"_L1 || message.member() != "Close"_L1)
            return false;
        m_portal.close(message.path());
        return !message.isReplyRequired() || connection.send(message.createReply());
    }

private:
    PortalStandIn& m_portal;
};

const Shortcut ctrlMetaJ{Qt::Key_J, Shortcut::command | Shortcut::control, u"J"_s};
const Shortcut ctrlMetaK{Qt::Key_K, Shortcut::command | Shortcut::control, u"K"_s};

} // namespace

// Runs in a child process on a virtual X server.
class HotKeysOnX11Test final : public QObject {
    Q_OBJECT

private slots:
    void hotKeys_fireWithLocks_refuseTakenKeys_andRecord() {
        const Testing::TemporaryHome home;
        QTemporaryDir folder;
        auto store = Store::NoteStore::open(folder.filePath("Dovrin.sqlite")).value();
        Agent::Provenance provenance;
        Stickies::StickyManager manager(*store, provenance);
        QList<HotKeyAction> performed;
        auto hotKeys = std::make_unique<HotKeys>([&](HotKeyAction action) {
            performed.append(action);
            if (action == HotKeyAction::newSticky)
                manager.newStickyAtMouse();
        });
        QCOMPARE(hotKeys->shortcut(HotKeyAction::newSticky)->displayText(), "Meta+Ctrl+Alt+N");
        QCOMPARE(hotKeys->shortcut(HotKeyAction::newSticky)->menuEquivalent(),
                 QKeySequence(Qt::CTRL | Qt::ALT | Qt::META | Qt::Key_N));
        QVERIFY(!Shortcut::fromKeyEvent(Qt::Key_Space, Qt::ControlModifier)->menuEquivalent());

        // The first press makes a sticky by the pointer; with Caps Lock or Num Lock on the keys still work.
        const QPoint pointer(400, 300);
        QCursor::setPos(pointer);
        QTRY_COMPARE(QCursor::pos(), pointer);
        OtherClient other;
        other.type({controlKey, altKey, superKey, 'n'});
        QTRY_COMPARE(performed.size(), 1);
        const QList<Store::Note> notes = store->list(Store::NoteStore::Scope::active, 10).value();
        QCOMPARE(notes.size(), 1);
        QVERIFY(manager.sticky(notes.first().id));
        const QRect frame = Core::ScreenSpace::toWindow(notes.first().frame);
        QVERIFY2(QRect(pointer, QSize(40, 40)).contains(frame.topLeft()),
                 qPrintable(QDebug::toString(frame)));
        for (const xcb_keysym_t lock : {capsLockKey, numLockKey}) {
            other.type({lock});
            other.type({controlKey, altKey, superKey, 'n'});
            other.type({lock});
        }
        QTRY_COMPARE(performed, QList<HotKeyAction>(3, HotKeyAction::newSticky));

        // Another app holds Meta+Ctrl+K with Caps Lock: the new shortcut is refused whole, the old one stays.
        QVERIFY(other.grab('k', XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_4 | XCB_MOD_MASK_LOCK));
        QCOMPARE(hotKeys->set(ctrlMetaJ, HotKeyAction::searchNotes), std::nullopt);
        QCOMPARE(hotKeys->set(ctrlMetaK, HotKeyAction::searchNotes), u"Another app uses Meta+Ctrl+K."_s);
        QCOMPARE(hotKeys->shortcut(HotKeyAction::searchNotes), ctrlMetaJ);
        QVERIFY(other.grab('k', XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_4));
        other.type({controlKey, superKey, 'j'});
        QTRY_COMPARE(performed.last(), HotKeyAction::searchNotes);

        {
            // Recording has the keyboard: another action's keys are a conflict, not a press.
            ShortcutRecorder recorder(*hotKeys, HotKeyAction::searchNotes);
            recorder.show();
            recorder.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&recorder));
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(recorder.button());
            QCOMPARE(accessible->text(QAccessible::Name), "Search notes shortcut");
            QCOMPARE(accessible->text(QAccessible::Value), "Meta+Ctrl+J");
            recorder.button()->click();
            QCOMPARE(accessible->text(QAccessible::Value), "Recording…");
            const qsizetype pressed = performed.size();
            other.type({controlKey, altKey, superKey, 'n'});
            QTRY_COMPARE(problemShown(recorder), "Meta+Ctrl+Alt+N is already used for New sticky.");
            QCOMPARE(performed.size(), pressed);

            recorder.button()->click();
            other.type({escapeKey});
            QTRY_VERIFY(!hotKeys->recording());
            QCOMPARE(hotKeys->shortcut(HotKeyAction::searchNotes), ctrlMetaJ);

            recorder.button()->click();
            other.type({altKey, shiftKey, 'k'});
            QTRY_COMPARE(problemShown(recorder), "Use Ctrl or Meta in the shortcut.");
            QVERIFY(recorder.isRecording());
            other.type({controlKey, escapeKey});
            QTRY_VERIFY(!recorder.isRecording());
            QCOMPARE(hotKeys->shortcut(HotKeyAction::searchNotes)->displayText(), "Ctrl+Esc");
            QCOMPARE(recorder.button()->text(), "Ctrl+Esc");

            ShortcutRecorder newSticky(*hotKeys, HotKeyAction::newSticky);
            auto* clear = newSticky.findChild<QToolButton*>();
            QCOMPARE(clear->accessibleName(), "Clear New sticky shortcut");
            clear->click();
            QVERIFY(!hotKeys->shortcut(HotKeyAction::newSticky));
            QCOMPARE(newSticky.button()->text(), "Record Shortcut");
        }

        // A cleared shortcut stays cleared after a restart.
        hotKeys.reset();
        const HotKeys restarted([](HotKeyAction) {});
        QVERIFY(!restarted.shortcut(HotKeyAction::newSticky));
        QCOMPARE(restarted.shortcut(HotKeyAction::searchNotes)->displayText(), "Ctrl+Esc");
    }
};

// Runs in a child process whose session bus is the test's own, in a Wayland session.
class HotKeysPortalTest final : public QObject {
    Q_OBJECT

private slots:
    void portal_bindsTheShortcuts_andActivationPerforms() {
        const Testing::TemporaryHome home;
        qInstallMessageHandler(keepLogLine);
        {
            // No portal on the bus: nothing is grabbed, and the settings say the desktop did not allow it.
            HotKeys hotKeys([](HotKeyAction) {});
            QVERIFY2(logLines.contains("hotkey handler install=1"), qPrintable(logLines.join('\n')));
            QVERIFY(logLines.contains("hotkey register Meta+Ctrl+Alt+N for New sticky = 1"));
            QCOMPARE(hotKeys.refusal(HotKeyAction::newSticky),
                     u"The desktop didn’t allow Meta+Ctrl+Alt+N."_s);
            QCOMPARE(hotKeys.set(ctrlMetaK, HotKeyAction::searchNotes),
                     u"The desktop didn’t allow Meta+Ctrl+K."_s);
        }
        qInstallMessageHandler(nullptr);

        registerPortalShortcutTypes();
        QThread thread;
        PortalStandIn portal;
        PortalSessions sessions(portal);
        // The app asks the portal's version with a blocking call, which the portal answers from its own
        // thread.
        portal.moveToThread(&thread);
        thread.start();
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, u"portal"_s);
        QVERIFY(bus.registerObject(portalPath, &portal,
                                   QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
        QVERIFY(bus.registerVirtualObject(portalPath + u"/session"_s, &sessions, QDBusConnection::SubPath));
        QVERIFY(bus.registerService(u"org.freedesktop.portal.Desktop"_s));

        QList<HotKeyAction> performed;
        {
            HotKeys hotKeys([&](HotKeyAction action) { performed.append(action); });
            using Triggers = QList<QMap<QString, QString>>;
            const Triggers first{{{u"newSticky"_s, u"CTRL+ALT+LOGO+n"_s}}};
            QTRY_COMPARE(portal.openSessions(), first);
            QCOMPARE(hotKeys.set(ctrlMetaK, HotKeyAction::searchNotes), std::nullopt);
            const Shortcut f5{Qt::Key_F5, Shortcut::command | Shortcut::shift, u"F5"_s};
            QCOMPARE(hotKeys.set(f5, HotKeyAction::showHideAll), std::nullopt);
            const Triggers all{{{u"newSticky"_s, u"CTRL+ALT+LOGO+n"_s},
                                {u"searchNotes"_s, u"CTRL+LOGO+k"_s},
                                {u"showHideAll"_s, u"CTRL+SHIFT+F5"_s}}};
            QTRY_COMPARE(portal.openSessions(), all);
            portal.activate(u"searchNotes"_s);
            QTRY_COMPARE(performed, QList{HotKeyAction::searchNotes});
            QVERIFY(!hotKeys.refusal(HotKeyAction::searchNotes));
        }
        QTRY_VERIFY(portal.openSessions().isEmpty());
        bus.unregisterService(u"org.freedesktop.portal.Desktop"_s);
        bus.unregisterObject(portalPath, QDBusConnection::UnregisterTree);
        thread.quit();
        thread.wait();
    }
};

class HotKeysTest final : public QObject {
    Q_OBJECT

private slots:
    void onX11_hotKeysAndRecorder() {
        const Testing::PrivateXServer x;
        QVERIFY2(!x.display().isEmpty(), "Xvfb could not be started; the set-up script installs it");
        QProcessEnvironment x11Session;
        x11Session.insert(u"XDG_SESSION_TYPE"_s, u"x11"_s);
        x11Session.insert(u"WAYLAND_DISPLAY"_s, QString());
        QString output;
        QVERIFY2(x.runOnX11(&output, x11Session), qPrintable(output));
    }

    void onPrivateBus_portal() {
        // A bus of the test's own that starts no services, so no real portal can answer.
        QTemporaryDir folder;
        QFile config(folder.filePath("bus.conf"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(
            u"<busconfig><type>session</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
            "<policy context=\"default\"><allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
            "<allow own=\"*\"/></policy>"
            "</busconfig>"_s.arg(folder.path())
                .toUtf8());
        config.close();
        QProcess daemon;
        daemon.start(u"dbus-daemon"_s,
                     {u"--config-file="_s + config.fileName(), u"--print-address"_s, u"--nofork"_s});
        QVERIFY2(daemon.waitForStarted(), "dbus-daemon could not be started; the set-up script installs it");
        while (!daemon.canReadLine())
            QVERIFY(daemon.waitForReadyRead(10000));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, QString::fromUtf8(daemon.readLine().trimmed()));
        environment.insert(u"XDG_SESSION_TYPE"_s, u"wayland"_s);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QLatin1String(onPortalArgument)});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAll().constData());
        daemon.terminate();
        daemon.waitForFinished();
    }
};

int main(int argc, char** argv) {
    QStandardPaths::setTestModeEnabled(true);
    Stickies::prepareEditorEngine();
    QApplication application(argc, argv);
    const QStringList name{QString::fromLocal8Bit(argv[0])};
    if (argc > 1 && argv[1] == std::string_view(Testing::onX11Argument)) {
        HotKeysOnX11Test tests;
        return QTest::qExec(&tests, name);
    }
    if (argc > 1 && argv[1] == std::string_view(onPortalArgument)) {
        HotKeysPortalTest tests;
        return QTest::qExec(&tests, name);
    }
    HotKeysTest tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "HotKeysTest.moc"
