#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace Dovrin::Stickies {
class StickyManager;
}

namespace Dovrin::Shell {

// A keyboard-driven window: type words, open one of the matching notes through its note link.
class SearchPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(SearchPanel)

public:
    static constexpr int resultLimit = 50;

    explicit SearchPanel(Stickies::StickyManager& manager, QWidget* parent = nullptr);

    // Shows the panel on the screen under the mouse pointer with the field focused and its text selected.
    void showPanel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void search();
    void moveSelection(int delta);
    void open(QListWidgetItem* item);
    void placeUnderPointer();

    Stickies::StickyManager& m_manager;
    QLineEdit* m_field = nullptr;
    QListWidget* m_results = nullptr;
    QLabel* m_emptyState = nullptr;
};

} // namespace Dovrin::Shell
