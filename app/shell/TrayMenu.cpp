#include "app/shell/TrayMenu.h"

#include "app/agent/ui/AgentTray.h"
#include "app/core/Log.h"
#include "app/stickies/StickyManager.h"
#include "app/stickies/StickyPalette.h"
#include "app/store/NoteStore.h"

#include <QAction>
#include <QMenu>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

TrayMenu::TrayMenu(Stickies::StickyManager& manager, Agent::AgentTray& agentTray, Handlers handlers,
                   QObject* parent)
    : QObject(parent), m_manager(manager), m_agentTray(agentTray), m_handlers(std::move(handlers)),
      m_menu(std::make_unique<QMenu>()) {
    m_newItem = m_menu->addAction(tr("New Sticky"), this, [this] { m_handlers.newSticky(); });
    QAction* search = m_menu->addAction(tr("Search Notes…"), QKeySequence(Qt::CTRL | Qt::Key_F), this,
                                        [this] { m_handlers.showSearch(); });
    m_menu->addSeparator();
    m_recentHeader = m_menu->addSection(tr("Recent"));
    m_recentSeparator = m_menu->addSeparator();
    m_showHideItem = m_menu->addAction(QString(), this, [this] { toggleShowAll(); });
    m_menu->addAction(tr("Bring All to Front"), this, [this] { m_manager.bringAllToFront(); });
    m_menu->addSeparator();
    m_menu->addActions(m_agentTray.menuItems());
    m_menu->addSeparator();
    m_menu->addAction(tr("Recently Deleted…"), this, [this] { m_handlers.showRecentlyDeleted(); });
    m_menu->addAction(tr("Connect Your AI…"), this, [this] { m_handlers.connectYourAI(); });
    m_updateAvailableItem =
        m_menu->addAction(tr("Update Available…"), this, [this] { m_handlers.showAvailableUpdate(); });
    m_updateAvailableItem->setVisible(false);
    if (m_handlers.checkForUpdates)
        m_menu->addAction(tr("Check for Updates…"), this, [this] { m_handlers.checkForUpdates(); });
    QAction* settings = m_menu->addAction(tr("Settings…"), QKeySequence(Qt::CTRL | Qt::Key_Comma), this,
                                          [this] { m_handlers.showSettings(); });
    m_menu->addSeparator();
    QAction* quit = m_menu->addAction(tr("Quit Dovrin"), QKeySequence(Qt::CTRL | Qt::Key_Q), this,
                                      [this] { m_handlers.quit(); });
    // Hiding all has a shortcut inside stickies only; the tray item's title changes with the state.
    m_hideAllShortcut = new QAction(tr("Hide All Stickies"), this);
    m_hideAllShortcut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    connect(m_hideAllShortcut, &QAction::triggered, this, [this] { m_manager.hideAll(); });
    m_applicationShortcuts = {search, settings, m_hideAllShortcut, quit};
    connect(m_menu.get(), &QMenu::aboutToShow, this, &TrayMenu::refresh);
}

TrayMenu::~TrayMenu() = default;

void TrayMenu::refresh() {
    m_showHideItem->setText(m_manager.isHidingAll() ? tr("Show All Stickies") : tr("Hide All Stickies"));
    refreshRecent();
    m_agentTray.refreshMenu();
}

void TrayMenu::toggleShowAll() {
    if (m_manager.isHidingAll())
        m_manager.showAll();
    else
        m_manager.hideAll();
}

void TrayMenu::setNewStickyShortcut(const QKeySequence& keys) {
    m_newItem->setShortcut(keys);
}

void TrayMenu::setUpdateAvailable(bool available) {
    m_updateAvailableItem->setVisible(available && m_handlers.showAvailableUpdate);
}

void TrayMenu::refreshRecent() {
    for (QAction* item : std::as_const(m_recentItems)) {
        m_menu->removeAction(item);
        item->deleteLater();
    }
    m_recentItems.clear();
    const auto notes = m_manager.store().list(Store::NoteStore::Scope::active, recentCount);
    if (!notes)
        Store::logStoreError(notes.error());
    const QList<Store::Note> recent = notes ? *notes : QList<Store::Note>();
    for (const Store::Note& note : recent) {
        QString title = Store::shownTitle(note.title());
        // The text after a tab shows at the right edge of the item, where a badge belongs.
        if (!note.isOpen)
            title += QLatin1Char('\t') + tr("Closed");
        auto* item = new QAction(Stickies::swatchIcon(note.color), title, this);
        connect(item, &QAction::triggered, this,
                [this, link = note.link()] { m_manager.openUrl(QUrl(link)); });
        m_menu->insertAction(m_recentSeparator, item);
        m_recentItems.append(item);
    }
    m_recentHeader->setVisible(!m_recentItems.isEmpty());
    m_recentSeparator->setVisible(!m_recentItems.isEmpty());
}

} // namespace Dovrin::Shell
