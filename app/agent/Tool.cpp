#include "app/agent/Tool.h"

#include "shared/bridge/ToolLimits.h"

namespace Dovrin::Agent {

std::optional<Tool> toolNamed(const QString& name) {
    for (std::size_t i = 0; i < Bridge::toolNames.size(); ++i)
        if (name == QLatin1String(Bridge::toolNames[i]))
            return Tool(i);
    return std::nullopt;
}

QString toolName(Tool tool) {
    return QString::fromLatin1(Bridge::toolNames.at(std::size_t(tool)));
}

bool isWrite(Tool tool) {
    return tool != Tool::listNotes && tool != Tool::readNote;
}

} // namespace Dovrin::Agent
