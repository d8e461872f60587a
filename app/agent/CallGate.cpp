#include "app/agent/CallGate.h"

using namespace Qt::StringLiterals;

namespace Dovrin::Agent {

using Bridge::AIAccess;
using Bridge::ErrorCode;

std::optional<CallGate::Refusal> CallGate::admit(const QString& agent, bool isWrite, AIAccess access,
                                                 qint64 nowMs) {
    if (access == AIAccess::off)
        return Refusal{{ErrorCode::forbidden,
                        u"Dovrin AI access is off. Ask the user to turn it on in Dovrin Settings › AI."_s},
                       true,
                       false};
    if (access == AIAccess::readOnly && isWrite)
        return Refusal{{ErrorCode::forbidden, u"Dovrin is set to Read only. Ask the user to allow "
                                              "Read & write in Dovrin Settings › AI."_s},
                       true,
                       true};
    if (auto error = limit(m_recentCalls, agent, callLimit, u"Dovrin calls"_s, nowMs))
        return Refusal{*error, false, false};
    if (isWrite)
        if (auto error = limit(m_recentWrites, agent, writeLimit, u"Dovrin changes"_s, nowMs))
            return Refusal{*error, false, false};
    return std::nullopt;
}

std::optional<AgentError> CallGate::limit(QHash<QString, QList<qint64>>& recent, const QString& agent,
                                          int limit, const QString& label, qint64 nowMs) {
    QList<qint64> kept;
    for (qint64 at : recent.value(agent))
        if (nowMs - at < windowMs)
            kept.append(at);
    if (kept.size() < limit) {
        kept.append(nowMs);
        recent.insert(agent, kept);
        return std::nullopt;
    }
    AgentError error{ErrorCode::rateLimited,
                     u"Too many %1 (%2 a minute). Wait, then retry."_s.arg(label).arg(limit)};
    const qint64 waitMs = windowMs - (nowMs - kept.first());
    error.retryAfterSeconds = (waitMs + 999) / 1000;
    return error;
}

} // namespace Dovrin::Agent
