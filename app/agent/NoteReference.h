#pragma once

#include "app/agent/AgentError.h"

#include <QString>
#include <QUuid>

namespace Dovrin::Agent {

// The note an AI names: a UUID, a "dovrin://note/<id>" link or an https link whose path is /n/<id>.
AgentResult<QUuid> noteReference(const QString& argument);

} // namespace Dovrin::Agent
