#pragma once

#include "app/agent/AgentActivity.h"

#include <QIcon>
#include <QObject>

#include <memory>

class QAction;
class QActionGroup;
class QMenu;
class QSystemTrayIcon;

namespace Dovrin::Agent {

class ToastPanel;

// The AI side of the tray: the icon that shows AI activity, the three AI items of the tray menu (Undo,
// the information line, "AI Access") and the toast panel hung under the icon.
class AgentTray final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(AgentTray)

public:
    // `trayIcon` may be null (no system tray): the toasts then appear at the top-right corner.
    AgentTray(AgentActivity& activity, QSystemTrayIcon* trayIcon, QObject* parent = nullptr);
    ~AgentTray() override;

    QAction* accessItem() const;
    // The three in menu order.
    QList<QAction*> menuItems() const;

    // Call when the tray menu is about to open.
    void refreshMenu();

    ToastPanel& panel() { return *m_panel; }

private:
    void showIcon(bool active);

    AgentActivity& m_activity;
    QSystemTrayIcon* m_trayIcon = nullptr;
    QIcon m_normalIcon;
    QIcon m_activeIcon;
    QAction* m_undoItem = nullptr;
    QAction* m_infoItem = nullptr;
    std::unique_ptr<QMenu> m_accessMenu;
    QActionGroup* m_accessGroup = nullptr;
    std::unique_ptr<ToastPanel> m_panel;
};

} // namespace Dovrin::Agent
