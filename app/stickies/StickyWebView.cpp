#include "app/stickies/StickyWebView.h"

#include <QContextMenuEvent>
#include <QMenu>

namespace Dovrin::Stickies {

StickyWebView::StickyWebView(QWidget* parent) : QWebEngineView(parent) {
    // The sticky draws its own colour behind the editor; the view adds no background of its own.
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

void StickyWebView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (m_menuItems) {
        if (const QList<QAction*> items = m_menuItems(); !items.isEmpty()) {
            menu->addSeparator();
            menu->addActions(items);
        }
    }
    menu->popup(event->globalPos());
}

} // namespace Dovrin::Stickies
