#pragma once

#include "app/shell/SearchPanelColors.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QListView;
class QStandardItemModel;

namespace Dovrin::Stickies {
class StickyManager;
}

namespace Dovrin::Shell {

class SearchResultDelegate;

// A keyboard-driven floating card: type words, open one of the matching notes through its note link. It
// puts itself away as soon as it stops being the active window.
class SearchPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(SearchPanel)

public:
    static constexpr int resultLimit = 50;
    // Room around the card for its shadow, inside the transparent window.
    static constexpr int shadowMargin = 40;
    static constexpr int cornerRadius = 14;

    // `newStickyShortcut` gives the display text of the new-sticky shortcut, empty when there is none.
    SearchPanel(Stickies::StickyManager& manager, std::function<QString()> newStickyShortcut,
                QWidget* parent = nullptr);

    // Shows the panel with an empty query on the screen under the mouse pointer, active, the field focused.
    void showPanel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void search();
    // The footer's count of all matches, and in place of an empty list the reason it is empty.
    void showOutcome(int total, const QString& query);
    void moveSelection(int delta);
    void open(int row);
    void placeUnderPointer();
    void applyColors();
    QRect card() const;
    // The card on its shadow, for the screen's pixel density.
    QPixmap background(qreal devicePixelRatio) const;

    Stickies::StickyManager& m_manager;
    std::function<QString()> m_newStickyShortcut;
    SearchPanelColors m_colors;
    QPixmap m_background;
    // Typing queues one search; keys typed before it runs fold into it, so only the latest query runs.
    QTimer m_pendingSearch;
    QWidget* m_header = nullptr;
    QLineEdit* m_field = nullptr;
    QListView* m_list = nullptr;
    QStandardItemModel* m_results = nullptr;
    SearchResultDelegate* m_delegate = nullptr;
    QLabel* m_emptyState = nullptr;
    QWidget* m_footer = nullptr;
    QLabel* m_count = nullptr;
};

} // namespace Dovrin::Shell
