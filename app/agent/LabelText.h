#pragma once

#include "app/store/Note.h"

#include <QDateTime>
#include <QString>

// The texts of a ✦ label, localized.
namespace Dovrin::Agent::LabelText {

// "Edited by Claude"
QString fullForm(const Store::AgentLabel& label);
// "Edited": while the sticky's own buttons take the space.
QString shortForm(Store::AgentLabel::Action action);
// "Edited by Claude · 2 hr. ago"
QString tooltip(const Store::AgentLabel& label, const QDateTime& at, const QDateTime& now);
// "Edited by Claude, 2 hr. ago"
QString spokenForm(const Store::AgentLabel& label, const QDateTime& at, const QDateTime& now);

} // namespace Dovrin::Agent::LabelText
