#include "app/agent/ui/AgentTray.h"

#include "app/agent/ui/AgentIcons.h"
#include "app/agent/ui/ToastPanel.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QSystemTrayIcon>

namespace Dovrin::Agent {

AgentTray::AgentTray(AgentActivity& activity, QSystemTrayIcon* trayIcon, QObject* parent)
    : QObject(parent), m_activity(activity), m_trayIcon(trayIcon), m_activeIcon(AgentIcons::active()) {
    m_normalIcon = m_trayIcon && !m_trayIcon->icon().isNull() ? m_trayIcon->icon() : AgentIcons::normal();

    m_undoItem = new QAction(this);
    m_undoItem->setVisible(false);
    connect(m_undoItem, &QAction::triggered, this, [this] {
        const QUuid entry(m_undoItem->data().toString());
        if (!entry.isNull())
            m_activity.undo(entry);
    });

    m_infoItem = new QAction(this);
    m_infoItem->setEnabled(false);
    m_infoItem->setVisible(false);

    m_accessMenu = std::make_unique<QMenu>(tr("AI Access"));
    m_accessGroup = new QActionGroup(this);
    const std::pair<Bridge::AIAccess, QString> levels[] = {
        {Bridge::AIAccess::off, tr("Off", "AI Access menu")},
        {Bridge::AIAccess::readOnly, tr("Read Only")},
        {Bridge::AIAccess::readWrite, tr("Read && Write")},
    };
    for (const auto& [level, title] : levels) {
        QAction* item = m_accessMenu->addAction(title);
        item->setCheckable(true);
        item->setData(Bridge::rawValue(level));
        m_accessGroup->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] {
            if (const auto picked = Bridge::aiAccessFromRawValue(item->data().toString()))
                m_activity.setAccess(*picked);
            refreshMenu();
        });
    }

    connect(&m_activity, &AgentActivity::activeChanged, this, &AgentTray::showIcon);
    connect(&m_activity, &AgentActivity::undoableChanged, this, &AgentTray::refreshMenu);
    connect(&m_activity, &AgentActivity::accessChanged, this, &AgentTray::refreshMenu);

    m_panel = std::make_unique<ToastPanel>(m_activity.toasts(), [this]() -> std::optional<QRectF> {
        if (!m_trayIcon || !m_trayIcon->isVisible() || m_trayIcon->geometry().isEmpty())
            return std::nullopt;
        return QRectF(m_trayIcon->geometry());
    });

    if (m_trayIcon)
        m_trayIcon->setToolTip(tr("Dovrin"));
    refreshMenu();
}

AgentTray::~AgentTray() = default;

QAction* AgentTray::accessItem() const {
    return m_accessMenu->menuAction();
}

QList<QAction*> AgentTray::menuItems() const {
    return {m_undoItem, m_infoItem, accessItem()};
}

void AgentTray::refreshMenu() {
    const AgentActivity::MenuState state = m_activity.refreshMenu();
    m_undoItem->setVisible(state.undoEntry.has_value());
    m_undoItem->setText(state.undoTitle);
    m_undoItem->setData(state.undoEntry ? state.undoEntry->toString() : QString());
    m_infoItem->setVisible(state.info.has_value());
    m_infoItem->setText(state.info.value_or(QString()));
    for (QAction* item : m_accessGroup->actions())
        item->setChecked(item->data().toString() == Bridge::rawValue(state.access));
}

void AgentTray::showIcon(bool active) {
    if (!m_trayIcon)
        return;
    // The tray has no fade of its own; the icon and what screen readers hear change together.
    m_trayIcon->setIcon(active ? m_activeIcon : m_normalIcon);
    m_trayIcon->setToolTip(active ? tr("Dovrin, AI is using your notes") : tr("Dovrin"));
}

} // namespace Dovrin::Agent
