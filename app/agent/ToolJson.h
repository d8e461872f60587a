#pragma once

#include "AgentError.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

// The JSON text of every tool result and error object an AI receives.
namespace Dovrin::Agent::ToolJson {

QString render(const QJsonObject& object);
QString render(const QJsonArray& array);

QJsonObject errorObject(const AgentError& error);
QString errorText(const AgentError& error);

} // namespace Dovrin::Agent::ToolJson
