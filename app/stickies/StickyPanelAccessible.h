#pragma once

#include <QAccessibleWidget>

namespace Dovrin::Stickies {

class StickyPanel;

// What screen readers see of a sticky window: its title as name, its colour, states and ✦ label as
// value, and the sticky's commands as actions.
class StickyPanelAccessible final : public QAccessibleWidget {
public:
    explicit StickyPanelAccessible(StickyPanel* panel);

    QString text(QAccessible::Text type) const override;
    QStringList actionNames() const override;
    QString localizedActionName(const QString& name) const override;
    QString localizedActionDescription(const QString& name) const override;
    void doAction(const QString& name) override;
    QStringList keyBindingsForAction(const QString& name) const override;

private:
    StickyPanel* panel() const;
};

// Makes Qt's accessibility use StickyPanelAccessible for every sticky window.
void installStickyPanelAccessible();

} // namespace Dovrin::Stickies
