#include "app/agent/AgentName.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace Dovrin::Agent {

QString agentName(const std::optional<Bridge::ClientInfo>& client) {
    QStringList parts;
    if (client && client->title)
        parts.append(*client->title);
    if (client)
        parts.append(client->name);
    const QString identity = parts.join(QLatin1Char(' ')).toLower();
    static const QList<std::pair<QString, QString>> known{
        {"claude", "Claude"}, {"codex", "Codex"}, {"chatgpt", "ChatGPT"}, {"cursor", "Cursor"}};
    for (const auto& [word, name] : known)
        if (identity.contains(word))
            return name;
    if (client && client->title)
        return *client->title;
    return u"AI"_s;
}

} // namespace Dovrin::Agent
