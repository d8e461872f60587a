#pragma once

#include <QList>
#include <QObject>

#include <memory>

class QAction;
class QMenu;

namespace Dovrin::Stickies {

class StickyController;

// A sticky's own menu (colour, copy link, copy as text, float, collapse, delete) and the sticky's
// keyboard shortcuts. The same actions serve the context menus and the shortcuts, and their enabled and
// checked states follow the note.
class StickyMenu final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(StickyMenu)

public:
    explicit StickyMenu(StickyController& sticky);
    ~StickyMenu() override;

    QMenu* menu() const { return m_menu.get(); }
    // The menu's items, for appending to another menu.
    QList<QAction*> items() const;
    // Every action with a shortcut, the menu's and "New Sticky" and "Close".
    QList<QAction*> shortcutActions() const;

    // The app's own menu at the end, for when it has no tray icon to hang from; null for none.
    void setApplicationMenu(QMenu* menu);

    // Enables, checks and titles the items for the note as it is now.
    void update();

private:
    StickyController& m_sticky;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QMenu> m_colorMenu;
    QList<QAction*> m_colorItems;
    QAction* m_copyLink = nullptr;
    QAction* m_floating = nullptr;
    QAction* m_collapse = nullptr;
    QAction* m_newSticky = nullptr;
    QAction* m_close = nullptr;
    QAction* m_applicationSeparator = nullptr;
    QAction* m_applicationMenu = nullptr;
};

} // namespace Dovrin::Stickies
