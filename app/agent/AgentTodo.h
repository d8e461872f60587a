#pragma once

#include <QString>

namespace Dovrin::Agent::AgentOps {

// One todo of a note, numbered the way an AI passes it back to tick it.
struct Todo {
    int index = 0; // among the note's todos, from 0
    int line = 0;  // line number in the note, from 0
    QString text;
    bool checked = false;

    friend bool operator==(const Todo&, const Todo&) = default;
};

} // namespace Dovrin::Agent::AgentOps
