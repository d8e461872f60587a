#include "app/stickies/StickyPanelAccessible.h"

#include "app/stickies/StickyPanel.h"
#include "app/stickies/StickyViewState.h"
#include "app/stickies/StickyViewTexts.h"

namespace Dovrin::Stickies {

namespace {

// The commands a screen reader offers on a sticky, in the order it lists them.
constexpr StickyAction accessibleActions[] = {StickyAction::copyLink,        StickyAction::copyText,
                                              StickyAction::nextColor,       StickyAction::toggleFloating,
                                              StickyAction::toggleCollapsed, StickyAction::remove};

QAccessibleInterface* createInterface(const QString&, QObject* object) {
    if (auto* panel = qobject_cast<StickyPanel*>(object))
        return new StickyPanelAccessible(panel);
    return nullptr;
}

} // namespace

StickyPanelAccessible::StickyPanelAccessible(StickyPanel* panel)
    : QAccessibleWidget(panel, QAccessible::Window) {}

StickyPanel* StickyPanelAccessible::panel() const {
    return static_cast<StickyPanel*>(widget());
}

QString StickyPanelAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value)
        return panel()->accessibleValue();
    return QAccessibleWidget::text(type);
}

QStringList StickyPanelAccessible::actionNames() const {
    QStringList names;
    for (const StickyAction action : accessibleActions)
        names << StickyViewTexts::actionTitle(action, panel()->state()->note());
    return names;
}

QString StickyPanelAccessible::localizedActionName(const QString& name) const {
    return name;
}

QString StickyPanelAccessible::localizedActionDescription(const QString& name) const {
    return name;
}

void StickyPanelAccessible::doAction(const QString& name) {
    StickyViewState* state = panel()->state();
    for (const StickyAction action : accessibleActions) {
        if (StickyViewTexts::actionTitle(action, state->note()) == name) {
            state->request(action);
            return;
        }
    }
}

QStringList StickyPanelAccessible::keyBindingsForAction(const QString&) const {
    return {};
}

void installStickyPanelAccessible() {
    static const bool installed = (QAccessible::installFactory(createInterface), true);
    Q_UNUSED(installed);
}

} // namespace Dovrin::Stickies
