#pragma once

#include "app/agent/AgentError.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

// The error object an AI receives for a failed tool call, and its text.
namespace Dovrin::Agent::ToolJson {

QJsonObject errorObject(const AgentError& error);
QString errorText(const AgentError& error);

} // namespace Dovrin::Agent::ToolJson
