#include "app/shell/PortalHotKeyGrabber.h"

#include "app/core/Log.h"
#include "app/shell/KeySyms.h"
#include "app/shell/Shortcut.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

const QString portalService = u"org.freedesktop.portal.Desktop"_s;
const QString portalPath = u"/org/freedesktop/portal/desktop"_s;
const QString shortcutsInterface = u"org.freedesktop.portal.GlobalShortcuts"_s;
const QString requestInterface = u"org.freedesktop.portal.Request"_s;
const QString sessionInterface = u"org.freedesktop.portal.Session"_s;
const QString responseSignal = u"Response"_s;
const char* const answeredSlot = SLOT(answered(uint, QVariantMap, QDBusMessage));
// The portal's Response code for success; 1 is "cancelled by the user", 2 any other ending.
constexpr uint responseSuccess = 0;
constexpr uint responseOther = 2;
// Shown in the log when the key has no xkb name the portal could be given.
constexpr int noSuchKey = -1;

} // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

void registerPortalShortcutTypes() {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<PortalShortcuts>();
}

PortalHotKeyGrabber::PortalHotKeyGrabber(QObject* parent)
    : HotKeyGrabber(parent), m_bus(QDBusConnection::sessionBus()) {
    registerPortalShortcutTypes();
}

PortalHotKeyGrabber::~PortalHotKeyGrabber() {
    closeSession(m_session);
}

int PortalHotKeyGrabber::install() {
    QDBusMessage version = QDBusMessage::createMethodCall(portalService, portalPath,
                                                          u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
    version << shortcutsInterface << u"version"_s;
    const QDBusMessage reply = m_bus.call(version, QDBus::Block, portalTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qCWarning(Core::shellLog, "hotkey portal unavailable: %s", qUtf8Printable(reply.errorMessage()));
        return 1;
    }
    m_available = true;
    m_bus.connect(portalService, portalPath, shortcutsInterface, u"Activated"_s, this,
                  SLOT(activated(QDBusMessage)));
    return 0;
}

HotKeyGrabber::Outcome PortalHotKeyGrabber::grab(HotKeyAction action, const Shortcut& shortcut) {
    if (!m_available)
        return {1, Refusal::notAllowedByDesktop};
    const QString preferred = trigger(shortcut);
    if (preferred.isEmpty())
        return {noSuchKey, Refusal::notAllowedByDesktop};
    m_triggers.insert_or_assign(action, preferred);
    scheduleBind();
    return {};
}

void PortalHotKeyGrabber::release(HotKeyAction action) {
    if (m_triggers.erase(action))
        scheduleBind();
}

QString PortalHotKeyGrabber::trigger(const Shortcut& shortcut) {
    const std::optional<KeySym> keysym = keySym(shortcut.keyCode);
    if (!keysym)
        return {};
    const Qt::KeyboardModifiers modifiers = shortcut.qtModifiers();
    QStringList parts;
    if (modifiers & Qt::ControlModifier)
        parts << u"CTRL"_s;
    if (modifiers & Qt::AltModifier)
        parts << u"ALT"_s;
    if (modifiers & Qt::ShiftModifier)
        parts << u"SHIFT"_s;
    if (modifiers & Qt::MetaModifier)
        parts << u"LOGO"_s;
    parts << keysym->name;
    return parts.join(u'+');
}

void PortalHotKeyGrabber::activated(const QDBusMessage& message) {
    // (session handle, shortcut id, timestamp, options)
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2 || qvariant_cast<QDBusObjectPath>(arguments.at(0)).path() != m_session)
        return;
    for (const auto& [action, trigger] : m_triggers) {
        if (caseName(action) == arguments.at(1).toString()) {
            emit pressed(action);
            return;
        }
    }
}

void PortalHotKeyGrabber::scheduleBind() {
    // Letting go of the old shortcut and taking the new one become one bind.
    if (!std::exchange(m_bindScheduled, true))
        QTimer::singleShot(0, this, &PortalHotKeyGrabber::bind);
}

void PortalHotKeyGrabber::bind() {
    m_bindScheduled = false;
    const int generation = ++m_generation;
    closeSession(std::exchange(m_session, QString()));
    if (m_triggers.empty())
        return;
    request(u"CreateSession"_s, {}, {{u"session_handle_token"_s, u"dovrin%1"_s.arg(++m_tokens)}},
            [this, generation](uint response, const QVariantMap& results) {
                // Documented as a string, though it is an object path.
                const QVariant handle = results.value(u"session_handle"_s);
                const QString session = handle.metaType() == QMetaType::fromType<QDBusObjectPath>()
                                            ? handle.value<QDBusObjectPath>().path()
                                            : handle.toString();
                if (generation != m_generation) {
                    closeSession(session);
                    return;
                }
                if (response != responseSuccess || session.isEmpty()) {
                    qCWarning(Core::shellLog, "hotkey portal session refused (%u)", response);
                    withdrawRefused([](HotKeyAction) { return true; });
                    return;
                }
                m_session = session;
                bindInSession(generation, session);
            });
}

void PortalHotKeyGrabber::bindInSession(int generation, const QString& session) {
    PortalShortcuts shortcuts;
    for (const auto& [action, trigger] : m_triggers)
        shortcuts.append(
            {caseName(action), {{u"description"_s, title(action)}, {u"preferred_trigger"_s, trigger}}});
    request(u"BindShortcuts"_s,
            {QVariant::fromValue(QDBusObjectPath(session)), QVariant::fromValue(shortcuts), QString()}, {},
            [this, generation](uint response, const QVariantMap& results) {
                if (generation != m_generation)
                    return;
                QStringList bound;
                if (response == responseSuccess) {
                    for (const PortalShortcut& shortcut :
                         qdbus_cast<PortalShortcuts>(results.value(u"shortcuts"_s)))
                        bound << shortcut.id;
                }
                qCInfo(Core::shellLog, "hotkey portal bind response=%u bound=%s", response,
                       qUtf8Printable(bound.join(u',')));
                withdrawRefused([&bound](HotKeyAction action) { return !bound.contains(caseName(action)); });
            });
}

void PortalHotKeyGrabber::withdrawRefused(const std::function<bool(HotKeyAction)>& refused) {
    QList<HotKeyAction> gone;
    for (const auto& [action, trigger] : m_triggers) {
        if (refused(action))
            gone << action;
    }
    for (const HotKeyAction action : gone)
        m_triggers.erase(action);
    for (const HotKeyAction action : gone)
        emit withdrawn(action);
}

void PortalHotKeyGrabber::request(const QString& method, QVariantList arguments, QVariantMap options,
                                  Answer answer) {
    // The Request object's path is known from the token, so its answer is listened for before the call
    // goes out and can't be missed.
    const QString token = u"dovrin%1"_s.arg(++m_tokens);
    const QString sender = m_bus.baseService().mid(1).replace(u'.', u'_');
    const QString path = u"%1/request/%2/%3"_s.arg(portalPath, sender, token);
    watchRequest(path, std::move(answer));
    options.insert(u"handle_token"_s, token);
    arguments << options;
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, method);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, path, method](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *call;
                if (reply.isError()) {
                    qCWarning(Core::shellLog, "hotkey portal %s failed: %s", qUtf8Printable(method),
                              qUtf8Printable(reply.error().message()));
                    if (const Answer answer = takeRequest(path))
                        answer(responseOther, {});
                } else if (reply.value().path() != path && m_requests.contains(path)) {
                    // A portal older than handle tokens chose another path.
                    watchRequest(reply.value().path(), takeRequest(path));
                }
            });
}

void PortalHotKeyGrabber::watchRequest(const QString& path, Answer answer) {
    m_requests.insert(path, std::move(answer));
    m_bus.connect(portalService, path, requestInterface, responseSignal, this, answeredSlot);
}

PortalHotKeyGrabber::Answer PortalHotKeyGrabber::takeRequest(const QString& path) {
    m_bus.disconnect(portalService, path, requestInterface, responseSignal, this, answeredSlot);
    return m_requests.take(path);
}

void PortalHotKeyGrabber::answered(uint response, const QVariantMap& results, const QDBusMessage& message) {
    if (const Answer answer = takeRequest(message.path()))
        answer(response, results);
}

void PortalHotKeyGrabber::closeSession(const QString& session) {
    if (session.isEmpty())
        return;
    m_bus.send(QDBusMessage::createMethodCall(portalService, session, sessionInterface, u"Close"_s));
}

} // namespace Dovrin::Shell
