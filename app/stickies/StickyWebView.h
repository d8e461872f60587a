#pragma once

#include <QList>
#include <QWebEngineView>

#include <functional>

class QAction;

namespace Dovrin::Stickies {

// The editor's view inside a sticky. It paints no background of its own: the sticky draws the note's
// colour behind it. Its context menu is the engine's own (cut, copy, paste…) followed by the sticky's menu.
class StickyWebView final : public QWebEngineView {
    Q_OBJECT
    Q_DISABLE_COPY(StickyWebView)

public:
    explicit StickyWebView(QWidget* parent = nullptr);

    void setMenuItems(std::function<QList<QAction*>()> items) { m_menuItems = std::move(items); }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    std::function<QList<QAction*>()> m_menuItems;
};

} // namespace Dovrin::Stickies
