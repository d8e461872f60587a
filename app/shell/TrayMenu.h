#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

#include <functional>
#include <memory>

class QAction;
class QMenu;

namespace Dovrin::Agent {
class AgentTray;
}
namespace Dovrin::Stickies {
class StickyManager;
}

namespace Dovrin::Shell {

// The tray icon's menu: new sticky, search, the recently edited notes, show or hide all, the AI items,
// Recently Deleted, connecting an AI, settings and quit. It refreshes itself every time it opens.
class TrayMenu final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(TrayMenu)

public:
    static constexpr int recentCount = 8;

    // What the items do beyond the sticky manager.
    struct Handlers {
        std::function<void()> newSticky;
        std::function<void()> showSearch;
        std::function<void()> showRecentlyDeleted;
        std::function<void()> connectYourAI;
        // No updater: neither update item is shown.
        std::function<void()> showAvailableUpdate;
        std::function<void()> checkForUpdates;
        std::function<void()> showSettings;
        std::function<void()> quit;
    };

    TrayMenu(Stickies::StickyManager& manager, Agent::AgentTray& agentTray, Handlers handlers,
             QObject* parent = nullptr);
    ~TrayMenu() override;

    QMenu* menu() const { return m_menu.get(); }
    // Actions whose shortcuts also work inside every sticky: search, settings, hide all, quit.
    QList<QAction*> applicationShortcuts() const { return m_applicationShortcuts; }

    // Brings titles, the recent notes and the AI items up to date.
    void refresh();
    // What the show/hide item does; the show/hide-all hot key does the same.
    void toggleShowAll();
    // The "New Sticky" item shows the new-sticky hot key (empty: none).
    void setNewStickyShortcut(const QKeySequence& keys);
    // "Update Available…" is shown while an update found in the background waits for the user.
    void setUpdateAvailable(bool available);

private:
    void refreshRecent();

    Stickies::StickyManager& m_manager;
    Agent::AgentTray& m_agentTray;
    Handlers m_handlers;
    std::unique_ptr<QMenu> m_menu;
    QAction* m_newItem = nullptr;
    QAction* m_recentHeader = nullptr;
    QAction* m_recentSeparator = nullptr;
    QList<QAction*> m_recentItems;
    QAction* m_showHideItem = nullptr;
    QAction* m_hideAllShortcut = nullptr;
    QAction* m_updateAvailableItem = nullptr;
    QList<QAction*> m_applicationShortcuts;
};

} // namespace Dovrin::Shell
