#include "Tool.h"

#include <array>
#include <utility>

namespace Dovrin::Agent {

namespace {

constexpr std::array<std::pair<Tool, const char*>, 6> names{{
    {Tool::listNotes, "list_notes"},
    {Tool::readNote, "read_note"},
    {Tool::createNotes, "create_notes"},
    {Tool::updateNote, "update_note"},
    {Tool::setTodo, "set_todo"},
    {Tool::deleteNote, "delete_note"},
}};

} // namespace

std::optional<Tool> toolNamed(const QString& name) {
    for (const auto& [tool, text] : names)
        if (name == QLatin1String(text))
            return tool;
    return std::nullopt;
}

QString toolName(Tool tool) {
    for (const auto& [candidate, text] : names)
        if (candidate == tool)
            return QString::fromLatin1(text);
    return {};
}

bool isWrite(Tool tool) {
    return tool != Tool::listNotes && tool != Tool::readNote;
}

} // namespace Dovrin::Agent
