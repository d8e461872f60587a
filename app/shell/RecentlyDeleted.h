#pragma once

#include "app/store/Note.h"

#include <QList>
#include <QWidget>

class QScrollBar;
class QStackedWidget;

namespace Dovrin::Stickies {
class StickyManager;
}

namespace Dovrin::Shell {

class DeletedList;

// The notes in Recently Deleted, newest deletion first: each can be restored or deleted for good at once,
// and so can all of them.
class RecentlyDeleted final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(RecentlyDeleted)

public:
    explicit RecentlyDeleted(Stickies::StickyManager& manager, QWidget* parent = nullptr);

    // Reloads the list, then shows the window in front.
    void showWindow();
    // The list is read again on every show, after a restore and after a purge; it does not watch the
    // database.
    void reload();

protected:
    void changeEvent(QEvent* event) override;

private:
    QWidget* emptyPage();
    QWidget* listPage();
    void restore(const QUuid& id);
    // Asks in a sheet on this window; only its Delete button purges the notes.
    void confirmPurge(const QString& question, const QList<QUuid>& ids);
    void purge(const QList<QUuid>& ids);

    Stickies::StickyManager& m_manager;
    QList<Store::Note> m_notes;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_empty = nullptr;
    QWidget* m_listed = nullptr;
    DeletedList* m_list = nullptr;
    QScrollBar* m_scrollBar = nullptr;
};

} // namespace Dovrin::Shell
