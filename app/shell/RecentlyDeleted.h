#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace Dovrin::Stickies {
class StickyManager;
}

namespace Dovrin::Shell {

// The notes in Recently Deleted, newest deletion first, each of which can be restored.
class RecentlyDeleted final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(RecentlyDeleted)

public:
    explicit RecentlyDeleted(Stickies::StickyManager& manager, QWidget* parent = nullptr);

    // Reloads the list, then shows the window in front.
    void showWindow();
    // The list is read again on every show and after a restore; it does not watch the database.
    void reload();

private:
    void restoreSelected();

    Stickies::StickyManager& m_manager;
    QLabel* m_emptyState = nullptr;
    QLabel* m_header = nullptr;
    QListWidget* m_notes = nullptr;
    QPushButton* m_restore = nullptr;
};

} // namespace Dovrin::Shell
