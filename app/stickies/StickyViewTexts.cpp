#include "app/stickies/StickyViewTexts.h"

#include "app/agent/LabelText.h"

#include <QCoreApplication>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies::StickyViewTexts {

namespace {

QString tr(const char* text, const char* comment = nullptr) {
    return QCoreApplication::translate("Dovrin::Stickies::StickyViewTexts", text, comment);
}

} // namespace

QString windowTitle(const Store::Note& note) {
    return Store::shownTitle(note.title());
}

QString accessibilityValue(const Store::Note& note,
                           const std::optional<Agent::Provenance::Label>& provenance) {
    QString value = tr("Sticky note, %1", "VoiceOver value of a sticky window: its color")
                        .arg(Store::displayName(note.color));
    QStringList states;
    if (note.isFloating)
        states << tr("floating", "VoiceOver: the sticky floats on top");
    if (note.isCollapsed)
        states << tr("Collapsed", "VoiceOver: the sticky is collapsed");
    if (states.size() == 2)
        value += u", "_s + tr("%1, %2", "A narrow and-list of two sticky states").arg(states[0], states[1]);
    else if (states.size() == 1)
        value += u", "_s + states[0];
    if (provenance)
        value = tr("%1, %2", "VoiceOver value of a sticky window: its state, then what an AI did last")
                    .arg(value, Agent::LabelText::fullForm(provenance->label));
    return value;
}

QString actionTitle(StickyAction action, const Store::Note& note) {
    switch (action) {
    case StickyAction::close:
        return closeLabel();
    case StickyAction::newSticky:
        return newStickyLabel();
    case StickyAction::copyLink:
        return tr("Copy Link");
    case StickyAction::copyText:
        return tr("Copy as Text");
    case StickyAction::nextColor:
        return tr("Next Color");
    case StickyAction::toggleFloating:
        return tr("Float on Top");
    case StickyAction::toggleCollapsed:
        return note.isCollapsed ? tr("Expand") : tr("Collapse");
    case StickyAction::remove:
        return tr("Delete", "Sticky menu: move the note to Recently Deleted");
    }
    return {};
}

QString closeLabel() {
    return tr("Close");
}

QString closeToolTip() {
    return tr("Hides this note. Find it again in the Dovrin menu.");
}

QString newStickyLabel() {
    return tr("New sticky");
}

QString copyLinkLabel(bool showingCopied) {
    return showingCopied ? tr("Copied") : tr("Copy link");
}

QString copyLinkToolTip(bool noteHasText) {
    return noteHasText ? tr("Copies this note's link. Paste it into your AI.") : tr("Write something first");
}

} // namespace Dovrin::Stickies::StickyViewTexts
