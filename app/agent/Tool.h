#pragma once

#include <QString>

#include <optional>

namespace Dovrin::Agent {

// The six tools, in the order of Bridge::toolNames; the last four change notes.
enum class Tool { listNotes, readNote, createNotes, updateNote, setTodo, deleteNote };

std::optional<Tool> toolNamed(const QString& name);
QString toolName(Tool tool);
bool isWrite(Tool tool);

} // namespace Dovrin::Agent
