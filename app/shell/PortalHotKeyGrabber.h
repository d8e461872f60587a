#pragma once

#include "app/shell/HotKeyGrabber.h"

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <map>

class QDBusArgument;
class QDBusMessage;

namespace Dovrin::Shell {

// One shortcut as the GlobalShortcuts portal passes them (D-Bus "(sa{sv})"): its id and its properties.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
using PortalShortcuts = QList<PortalShortcut>;
QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);
// Lets Qt D-Bus carry PortalShortcuts; called before the first use.
void registerPortalShortcutTypes();

// Global shortcuts from the desktop's GlobalShortcuts portal (org.freedesktop.portal.GlobalShortcuts on
// the session bus), for Wayland sessions. A portal session may bind its shortcuts once, so every change
// closes the session and binds the current set in a new one. The desktop answers later (it may ask the
// user): what it leaves out is withdrawn then.
class PortalHotKeyGrabber final : public HotKeyGrabber {
    Q_OBJECT
    Q_DISABLE_COPY(PortalHotKeyGrabber)

public:
    // The portal is started by the bus on demand; a few seconds cover that, and a desktop without one
    // answers at once.
    static constexpr int portalTimeoutMs = 5000;

    explicit PortalHotKeyGrabber(QObject* parent = nullptr);
    ~PortalHotKeyGrabber() override;

    int install() override;
    Outcome grab(HotKeyAction action, const Shortcut& shortcut) override;
    void release(HotKeyAction action) override;

    // The shortcut as the desktop's shortcuts portal writes a trigger ("CTRL+ALT+LOGO+n"); empty for a
    // key without an xkb name.
    static QString trigger(const Shortcut& shortcut);

private slots:
    // Takes the whole message: Qt D-Bus (6.4) never delivered Activated to a slot typed (o, s, t, a{sv}).
    void activated(const QDBusMessage& message);
    void answered(uint response, const QVariantMap& results, const QDBusMessage& message);

private:
    using Answer = std::function<void(uint response, const QVariantMap& results)>;

    void scheduleBind();
    void bind();
    void bindInSession(int generation, const QString& session);
    // Calls a portal method that answers through a Request object's Response signal.
    void request(const QString& method, QVariantList arguments, QVariantMap options, Answer answer);
    void watchRequest(const QString& path, Answer answer);
    // Stops listening to a request; its answer, if it was still awaited.
    Answer takeRequest(const QString& path);
    void closeSession(const QString& session);
    // Forgets the shortcuts the desktop refused, then says so.
    void withdrawRefused(const std::function<bool(HotKeyAction)>& refused);

    QDBusConnection m_bus;
    bool m_available = false;
    std::map<HotKeyAction, QString> m_triggers;
    QString m_session;
    // Counts the binds; the answers to an older one are dropped.
    int m_generation = 0;
    bool m_bindScheduled = false;
    int m_tokens = 0;
    QHash<QString, Answer> m_requests;
};

} // namespace Dovrin::Shell

Q_DECLARE_METATYPE(Dovrin::Shell::PortalShortcut)
