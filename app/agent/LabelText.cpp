#include "app/agent/LabelText.h"

#include "app/core/RelativeTime.h"

#include <QCoreApplication>

namespace Dovrin::Agent::LabelText {

using Action = Store::AgentLabel::Action;

QString fullForm(const Store::AgentLabel& label) {
    switch (label.action) {
    case Action::added:
        return QCoreApplication::translate("LabelText", "Added by %1",
                                           "The ✦ label on a sticky an AI created")
            .arg(label.agent);
    case Action::checkedOff:
        return QCoreApplication::translate("LabelText", "Done by %1",
                                           "The ✦ label on a sticky whose todo an AI checked off last")
            .arg(label.agent);
    case Action::edited:
        break;
    }
    return QCoreApplication::translate("LabelText", "Edited by %1",
                                       "The ✦ label on a sticky an AI edited last")
        .arg(label.agent);
}

QString shortForm(Action action) {
    switch (action) {
    case Action::added:
        return QCoreApplication::translate(
            "LabelText", "Added", "The ✦ label on a sticky an AI created, while the sticky's buttons show");
    case Action::checkedOff:
        return QCoreApplication::translate(
            "LabelText", "Done",
            "The ✦ label on a sticky whose todo an AI checked off last, while the sticky's buttons show");
    case Action::edited:
        break;
    }
    return QCoreApplication::translate(
        "LabelText", "Edited", "The ✦ label on a sticky an AI edited last, while the sticky's buttons show");
}

QString tooltip(const Store::AgentLabel& label, const QDateTime& at, const QDateTime& now) {
    const QString time = Core::relativeTime(at, now);
    switch (label.action) {
    case Action::added:
        return QCoreApplication::translate("LabelText", "Added by %1 · %2", "Tooltip of the ✦ label")
            .arg(label.agent, time);
    case Action::checkedOff:
        return QCoreApplication::translate("LabelText", "Checked off by %1 · %2", "Tooltip of the ✦ label")
            .arg(label.agent, time);
    case Action::edited:
        break;
    }
    return QCoreApplication::translate("LabelText", "Edited by %1 · %2", "Tooltip of the ✦ label")
        .arg(label.agent, time);
}

QString spokenForm(const Store::AgentLabel& label, const QDateTime& at, const QDateTime& now) {
    const QString time = Core::relativeTime(at, now);
    switch (label.action) {
    case Action::added:
        return QCoreApplication::translate("LabelText", "Added by %1, %2", "VoiceOver: the ✦ label")
            .arg(label.agent, time);
    case Action::checkedOff:
        return QCoreApplication::translate("LabelText", "Checked off by %1, %2", "VoiceOver: the ✦ label")
            .arg(label.agent, time);
    case Action::edited:
        break;
    }
    return QCoreApplication::translate("LabelText", "Edited by %1, %2", "VoiceOver: the ✦ label")
        .arg(label.agent, time);
}

} // namespace Dovrin::Agent::LabelText
