#pragma once

#include <QString>

#include <optional>

namespace Dovrin::Agent {

// The six tools, in their fixed order; the last four change notes.
enum class Tool { listNotes, readNote, createNotes, updateNote, setTodo, deleteNote };

std::optional<Tool> toolNamed(const QString& name);
QString toolName(Tool tool);
bool isWrite(Tool tool);

} // namespace Dovrin::Agent
