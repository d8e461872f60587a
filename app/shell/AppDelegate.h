#pragma once

#include "app/core/AppLanguage.h"
#include "app/shell/Onboarding.h"
#include "app/shell/SettingsResources.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QSystemTrayIcon;

namespace Dovrin::Store {
class NoteStore;
}
namespace Dovrin::Agent {
class AgentServer;
class AgentTray;
} // namespace Dovrin::Agent
namespace Dovrin::Stickies {
class AgentStickies;
class StickyManager;
} // namespace Dovrin::Stickies

namespace Dovrin::Shell {

class ConnectWindow;
class HotKeys;
class LanguageStep;
class RecentlyDeleted;
class SearchPanel;
class SettingsWindow;
class TrayMenu;
class UpdateWindow;
class Updater;

// Owns every long-lived part of the running app: the note database, the sticky manager, the agent server,
// the tray menu and the app's windows. It starts them in order (on a new database, after the language step)
// and, when quitting, saves every sticky before the app ends.
class AppDelegate final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(AppDelegate)

public:
    // How long quitting waits for the editors to hand over their text.
    static constexpr int quitFlushTimeoutMs = 5000;

    // Starts a new instance in place of this one; true when it started. Relauncher's by default.
    using Relaunch = std::function<bool()>;

    explicit AppDelegate(QObject* parent = nullptr, Relaunch relaunch = {});
    ~AppDelegate() override;

    // Opens the notes and starts everything, or first asks a new user for the language; false (after telling
    // the user) when the notes can't be opened. `background`: started without the user (dovrin-mcp, login),
    // so the language step does not take the focus.
    bool launch(bool background = false);

    // Links handed over by a second start of the app, or from its command line.
    void openUrls(const QList<QUrl>& urls);
    // A second start without links: the stickies come back if hidden (without a tray and with none open, a
    // new one, so that the user always finds a way in).
    void reopen();
    // Saves every sticky, then ends the app, or starts its replacement first when a relaunch was asked for.
    void quit();
    // Quits and starts again (a new interface language); when the new start fails the app goes on and
    // `fallback` runs.
    void requestRelaunch(std::function<void()> fallback);

    void showSearch();
    void showRecentlyDeleted();
    void showSettings(std::optional<SettingsTab> tab = std::nullopt);
    void showConnectYourAI();
    // The new-sticky hot key as the desktop writes it, for the search panel's hint; empty when there is none.
    QString newStickyShortcutText() const;

private:
    bool openStore();
    void showLanguageStep(bool background);
    void languageChosen(Core::AppLanguage language);
    void finishLaunching();
    void startUpdater();
    // Without a tray icon, a start by the user that leaves no sticky open would show nothing at all.
    void showSomethingWithoutTray();
    void showWelcomeNote();
    void newStickyFromMenu();
    void finishQuit(int flushed);

    std::unique_ptr<Store::NoteStore> m_store;
    std::unique_ptr<Stickies::StickyManager> m_manager;
    std::unique_ptr<Stickies::AgentStickies> m_agentStickies;
    std::unique_ptr<Agent::AgentServer> m_agents;
    std::unique_ptr<QSystemTrayIcon> m_trayIcon;
    std::unique_ptr<Agent::AgentTray> m_agentTray;
    std::unique_ptr<TrayMenu> m_trayMenu;
    std::unique_ptr<HotKeys> m_hotKeys;
    std::unique_ptr<SearchPanel> m_search;
    std::unique_ptr<RecentlyDeleted> m_recentlyDeleted;
    std::unique_ptr<SettingsWindow> m_settings;
    std::unique_ptr<ConnectWindow> m_connect;
    std::unique_ptr<Updater> m_updater;
    std::unique_ptr<UpdateWindow> m_updateWindow;
    std::unique_ptr<LanguageStep> m_languageStep;
    Onboarding m_onboarding;
    Relaunch m_relaunch;
    std::optional<std::function<void()>> m_relaunchFallback;
    bool m_isQuitting = false;
    bool m_startedInBackground = false;
};

} // namespace Dovrin::Shell
