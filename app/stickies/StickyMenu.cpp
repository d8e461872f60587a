#include "app/stickies/StickyMenu.h"

#include "app/stickies/StickyController.h"
#include "app/stickies/StickyPalette.h"
#include "app/stickies/StickyViewState.h"

#include <QAction>
#include <QIcon>
#include <QMenu>

#include <utility>

namespace Dovrin::Stickies {

StickyMenu::StickyMenu(StickyController& sticky)
    : QObject(&sticky), m_sticky(sticky), m_menu(std::make_unique<QMenu>()),
      m_colorMenu(std::make_unique<QMenu>(tr("Color"))) {
    const QList<Store::StickyColor> colors = Store::allStickyColors();
    for (qsizetype i = 0; i < colors.size(); ++i) {
        const Store::StickyColor color = colors.at(i);
        QAction* item = m_colorMenu->addAction(swatchIcon(color), Store::displayName(color));
        item->setCheckable(true);
        item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)));
        connect(item, &QAction::triggered, this, [this, color] { m_sticky.setColor(color); });
        m_colorItems.append(item);
    }
    m_menu->addMenu(m_colorMenu.get());
    m_copyLink = m_menu->addAction(tr("Copy Link"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), this,
                                   [this] { m_sticky.copyLink(); });
    m_menu->addAction(tr("Copy as Text"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_C), this,
                      [this] { m_sticky.copyText(); });
    m_menu->addSeparator();
    m_floating = m_menu->addAction(tr("Float on Top"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F), this,
                                   [this] { m_sticky.toggleFloating(); });
    m_floating->setCheckable(true);
    m_collapse = m_menu->addAction(tr("Collapse"), QKeySequence(Qt::CTRL | Qt::Key_M), this,
                                   [this] { m_sticky.toggleCollapsed(); });
    m_menu->addSeparator();
    //: Sticky menu: move the note to Recently Deleted
    m_menu->addAction(tr("Delete"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Backspace), this,
                      [this] { m_sticky.requestDelete(); });
    m_newSticky = new QAction(tr("New Sticky"), this);
    m_newSticky->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(m_newSticky, &QAction::triggered, &m_sticky, &StickyController::newStickyRequested);
    m_close = new QAction(tr("Close"), this);
    m_close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(m_close, &QAction::triggered, this, [this] { m_sticky.close(); });
    connect(m_menu.get(), &QMenu::aboutToShow, this, &StickyMenu::update);
    connect(sticky.state(), &StickyViewState::noteChanged, this, &StickyMenu::update);
    update();
}

StickyMenu::~StickyMenu() = default;

QList<QAction*> StickyMenu::items() const {
    return m_menu->actions();
}

QList<QAction*> StickyMenu::shortcutActions() const {
    QList<QAction*> actions = m_colorItems;
    for (QAction* item : m_menu->actions())
        if (!item->shortcut().isEmpty())
            actions.append(item);
    return actions << m_newSticky << m_close;
}

void StickyMenu::setApplicationMenu(QMenu* menu) {
    if (m_applicationMenu) {
        m_menu->removeAction(m_applicationSeparator);
        m_menu->removeAction(m_applicationMenu);
        delete std::exchange(m_applicationSeparator, nullptr);
        m_applicationMenu = nullptr;
    }
    if (!menu)
        return;
    m_applicationSeparator = m_menu->addSeparator();
    m_applicationMenu = m_menu->addMenu(menu);
}

void StickyMenu::update() {
    const Store::Note& note = m_sticky.note();
    const QList<Store::StickyColor> colors = Store::allStickyColors();
    for (qsizetype i = 0; i < m_colorItems.size(); ++i)
        m_colorItems.at(i)->setChecked(colors.at(i) == note.color);
    m_copyLink->setEnabled(!note.isBlank());
    m_floating->setChecked(note.isFloating);
    m_collapse->setText(note.isCollapsed ? tr("Expand") : tr("Collapse"));
}

} // namespace Dovrin::Stickies
