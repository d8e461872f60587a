#include "AppDelegate.h"

#include "AgentIcons.h"
#include "AgentServer.h"
#include "AgentTray.h"
#include "Log.h"
#include "NoteStore.h"
#include "Provenance.h"
#include "StickyManager.h"
#include "StoreError.h"

#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QTextStream>

namespace Dovrin::Shell {

namespace {

bool hasDisplay() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void reportFatal(const QString& description) {
    const QString message = AppDelegate::tr("Dovrin can’t open your notes.");
    if (hasDisplay()) {
        QMessageBox box(QMessageBox::Critical, message, message, QMessageBox::Ok);
        box.setInformativeText(description);
        box.exec();
    } else {
        QTextStream(stderr) << message << '\n' << description << '\n';
    }
}

Store::StoreResult<std::unique_ptr<Store::NoteStore>> openAndPurge() {
    auto store = Store::NoteStore::openInDataDirectory();
    if (!store)
        return store.error();
    const auto purged = (*store)->purgeExpired(QDateTime::currentDateTimeUtc());
    if (!purged)
        return purged.error();
    qCInfo(dovrinLog, "store %s new=%d purged=%ld", qUtf8Printable((*store)->filePath()),
           int((*store)->isNew()), long(*purged));
    return std::move(store).value();
}

} // namespace

AppDelegate::AppDelegate(QObject* parent) : QObject(parent) {}

AppDelegate::~AppDelegate() {
    // The server and the manager reach the store until they are gone.
    m_agentTray.reset();
    m_menu.reset();
    m_trayIcon.reset();
    m_agents.reset();
    m_manager.reset();
}

bool AppDelegate::launch() {
    if (!openStore())
        return false;
    m_manager = std::make_unique<Stickies::StickyManager>(*m_store, Agent::Provenance::shared());
    m_agents = std::make_unique<Agent::AgentServer>(*m_manager);
    showTray();
    return true;
}

bool AppDelegate::openStore() {
    auto store = openAndPurge();
    if (!store) {
        reportFatal(store.error().description);
        return false;
    }
    m_store = std::move(store).value();
    return true;
}

void AppDelegate::showTray() {
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_trayIcon = std::make_unique<QSystemTrayIcon>(Agent::AgentIcons::normal());
        m_trayIcon->setToolTip(QStringLiteral("Dovrin"));
    }
    m_agentTray = std::make_unique<Agent::AgentTray>(m_agents->activity(), m_trayIcon.get());
    m_menu = std::make_unique<QMenu>();
    m_menu->addActions(m_agentTray->menuItems());
    m_menu->addSeparator();
    m_menu->addAction(tr("Quit Dovrin"), QKeySequence(tr("Ctrl+Q")), qApp, &QCoreApplication::quit);
    connect(m_menu.get(), &QMenu::aboutToShow, m_agentTray.get(), &Agent::AgentTray::refreshMenu);
    if (m_trayIcon) {
        m_trayIcon->setContextMenu(m_menu.get());
        m_trayIcon->show();
    }
}

} // namespace Dovrin::Shell
