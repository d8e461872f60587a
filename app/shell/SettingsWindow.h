#pragma once

#include "app/shell/SettingsResources.h"

#include <QWidget>

#include <functional>
#include <optional>

class QTabWidget;

namespace Dovrin::Agent {
class AgentActivity;
}

namespace Dovrin::Shell {

class AISettings;
class GeneralSettings;
class HotKeys;

// The settings window: the General, AI and About tabs. Built once and kept; centred when created.
class SettingsWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(SettingsWindow)

public:
    struct Actions {
        // Quits and starts Dovrin again, for a new interface language.
        std::function<void()> relaunch;
        std::function<void()> showWelcomeNote;
        // The window that shows how to connect an AI.
        std::function<void()> openSetupGuide;
    };

    SettingsWindow(HotKeys& hotKeys, Agent::AgentActivity& activity, Actions actions,
                   QWidget* parent = nullptr);

    // Reads the stored values again, selects `tab` when given, then shows the window in front.
    void showWindow(std::optional<SettingsTab> tab = std::nullopt);
    GeneralSettings& general() { return *m_general; }

signals:
    // The user turned "Show in taskbar" on or off; the app's windows follow at once.
    void showInDockChanged(bool shown);

private:
    QTabWidget* m_tabs = nullptr;
    GeneralSettings* m_general = nullptr;
    AISettings* m_ai = nullptr;
};

} // namespace Dovrin::Shell
