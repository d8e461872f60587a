#pragma once

#include <QWidget>

#include <functional>

class QButtonGroup;
class QCheckBox;

namespace Dovrin::Agent {
class AgentActivity;
}

namespace Dovrin::Shell {

class ConnectedAIs;

// The AI tab: what AI may do with the notes (in step with the tray's "AI Access" menu), whether an AI may
// start Dovrin, the way to connect one, and the AIs that have connected. Changes reach dovrin-mcp through
// the shared settings file at once.
class AISettings final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(AISettings)

public:
    AISettings(Agent::AgentActivity& activity, std::function<void()> openSetupGuide,
               QWidget* parent = nullptr);

    void readStoredValues();

private:
    void showAccess();

    Agent::AgentActivity& m_activity;
    QButtonGroup* m_access = nullptr;
    QCheckBox* m_letAIOpenDovrin = nullptr;
    ConnectedAIs* m_connected = nullptr;
};

} // namespace Dovrin::Shell
