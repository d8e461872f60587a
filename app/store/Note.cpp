#include "app/store/Note.h"

#include "app/store/PlainText.h"
#include "shared/bridge/ToolLimits.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace Dovrin::Store {

QList<StickyColor> allStickyColors() {
    return {StickyColor::yellow, StickyColor::blue,   StickyColor::green,
            StickyColor::pink,   StickyColor::purple, StickyColor::gray};
}

QString rawValue(StickyColor color) {
    return QLatin1String(Bridge::colorNames.at(std::size_t(color)));
}

std::optional<StickyColor> stickyColorIfKnown(const QString& raw) {
    for (const StickyColor color : allStickyColors()) {
        if (rawValue(color) == raw)
            return color;
    }
    return std::nullopt;
}

StickyColor stickyColorFromRawValue(const QString& raw) {
    return stickyColorIfKnown(raw).value_or(StickyColor::yellow);
}

QString displayName(StickyColor color) {
    switch (color) {
    case StickyColor::yellow:
        return QCoreApplication::translate("StickyColor", "Yellow");
    case StickyColor::blue:
        return QCoreApplication::translate("StickyColor", "Blue");
    case StickyColor::green:
        return QCoreApplication::translate("StickyColor", "Green");
    case StickyColor::pink:
        return QCoreApplication::translate("StickyColor", "Pink");
    case StickyColor::purple:
        return QCoreApplication::translate("StickyColor", "Purple");
    case StickyColor::gray:
        return QCoreApplication::translate("StickyColor", "Gray");
    }
    return QCoreApplication::translate("StickyColor", "Yellow");
}

QString rawValue(AgentLabel::Action action) {
    switch (action) {
    case AgentLabel::Action::added:
        return u"added"_s;
    case AgentLabel::Action::edited:
        return u"edited"_s;
    case AgentLabel::Action::checkedOff:
        return u"checked_off"_s;
    }
    return u"edited"_s;
}

AgentLabel::Action agentActionFromRawValue(const QString& raw) {
    if (raw == rawValue(AgentLabel::Action::added))
        return AgentLabel::Action::added;
    if (raw == rawValue(AgentLabel::Action::checkedOff))
        return AgentLabel::Action::checkedOff;
    return AgentLabel::Action::edited;
}

QString idText(const QUuid& id) {
    return id.toString(QUuid::WithoutBraces).toLower();
}

QString noteLink(const QUuid& id) {
    return u"dovrin://note/"_s + idText(id);
}

QString Note::idText() const {
    return Store::idText(id);
}

QString Note::link() const {
    return noteLink(id);
}

QString shownTitle(const QString& title) {
    return title.isEmpty() ? QCoreApplication::translate("Note", "Untitled") : title;
}

QString Note::title() const {
    return PlainText::title(markdown);
}

QString Note::bodyLine() const {
    return PlainText::bodyLine(markdown);
}

WindowState Note::windowState() const {
    return WindowState{color, frame, screenID, isFloating, isCollapsed};
}

bool Note::isBlank() const {
    return QString(markdown).remove(u"<br />"_s).trimmed().isEmpty();
}

} // namespace Dovrin::Store
