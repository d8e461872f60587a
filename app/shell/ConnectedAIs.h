#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>

class QVBoxLayout;

namespace Dovrin::Agent {
class AgentActivity;
}

namespace Dovrin::Shell {

// The AIs that have used the notes, most recent first, each with its mark and how recently it was active;
// refreshed while shown. With none, the way to connect one.
class ConnectedAIs final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ConnectedAIs)

public:
    static constexpr int refreshIntervalMs = 5000;

    ConnectedAIs(Agent::AgentActivity& activity, std::function<void()> openSetupGuide,
                 QWidget* parent = nullptr);

    void refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    Agent::AgentActivity& m_activity;
    std::function<void()> m_openSetupGuide;
    QVBoxLayout* m_rows = nullptr;
    QTimer m_refresh;
};

} // namespace Dovrin::Shell
