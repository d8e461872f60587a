#pragma once

#include "app/agent/AgentError.h"
#include "shared/bridge/AIAccess.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace Dovrin::Agent {

// Decides whether an agent may make a call: the user's access level first, then 60 calls and 20 writes
// a minute per agent. A refused call costs nothing.
class CallGate final {
public:
    static constexpr int callLimit = 60;
    static constexpr int writeLimit = 20;
    static constexpr qint64 windowMs = 60000;

    struct Refusal {
        AgentError error;
        // The access level refused it (the activity tracker shows a denial), and whether that was a write
        // refused under read only.
        bool denied = false;
        bool deniedWrite = false;
    };

    // `nowMs` is on a monotonic clock.
    std::optional<Refusal> admit(const QString& agent, bool isWrite, Bridge::AIAccess access, qint64 nowMs);

private:
    std::optional<AgentError> limit(QHash<QString, QList<qint64>>& recent, const QString& agent, int limit,
                                    const QString& label, qint64 nowMs);

    QHash<QString, QList<qint64>> m_recentCalls;
    QHash<QString, QList<qint64>> m_recentWrites;
};

} // namespace Dovrin::Agent
