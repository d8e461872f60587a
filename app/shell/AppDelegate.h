#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QMenu;
class QSystemTrayIcon;

namespace Dovrin::Store {
class NoteStore;
}
namespace Dovrin::Agent {
class AgentServer;
class AgentTray;
} // namespace Dovrin::Agent

namespace Dovrin::Stickies {
class StickyManager;
}

namespace Dovrin::Shell {

// Owns every long-lived part of the running app: the note database, the sticky manager, the agent server
// and the tray menu.
class AppDelegate final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(AppDelegate)

public:
    explicit AppDelegate(QObject* parent = nullptr);
    ~AppDelegate() override;

    // Opens the notes and starts everything; false (after telling the user) when the notes can't be opened.
    bool launch();

private:
    bool openStore();
    void showTray();

    std::unique_ptr<Store::NoteStore> m_store;
    std::unique_ptr<Stickies::StickyManager> m_manager;
    std::unique_ptr<Agent::AgentServer> m_agents;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<Agent::AgentTray> m_agentTray;
    std::unique_ptr<QSystemTrayIcon> m_trayIcon;
};

} // namespace Dovrin::Shell
