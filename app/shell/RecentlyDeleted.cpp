#include "app/shell/RecentlyDeleted.h"

#include "app/core/Log.h"
#include "app/shell/DeletedList.h"
#include "app/shell/DeletedRow.h"
#include "app/shell/QuietButton.h"
#include "app/shell/TrashGlyph.h"
#include "app/shell/WindowStyle.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"

#include <QDateTime>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

constexpr int margin = 16;

} // namespace

RecentlyDeleted::RecentlyDeleted(Stickies::StickyManager& manager, QWidget* parent)
    : QWidget(parent, Qt::Window), m_manager(manager), m_pages(new QStackedWidget(this)) {
    setWindowTitle(tr("Recently Deleted"));
    m_empty = emptyPage();
    m_listed = listPage();
    m_pages->addWidget(m_empty);
    m_pages->addWidget(m_listed);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);
    resize(600, 420);
    reload();
}

QWidget* RecentlyDeleted::emptyPage() {
    auto* page = new QWidget(this);
    auto* text = secondaryLabel(tr("No recently deleted notes.\nDeleted notes stay here for 30 days."), page);
    text->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(12);
    layout->addStretch();
    layout->addWidget(new TrashGlyph(40, page), 0, Qt::AlignHCenter);
    layout->addWidget(text);
    layout->addStretch();
    return page;
}

QWidget* RecentlyDeleted::listPage() {
    auto* page = new QWidget(this);
    auto* deleteAll = new QuietButton(tr("Delete All…"), page);
    connect(deleteAll, &QuietButton::clicked, this, [this] {
        QList<QUuid> ids;
        for (const Store::Note& note : std::as_const(m_notes))
            ids.append(note.id);
        confirmPurge(tr("Delete all %n notes immediately?", nullptr, int(ids.size())), ids);
    });
    auto* header = new QHBoxLayout;
    header->setContentsMargins(margin + 4, margin, margin, 10);
    header->setSpacing(12);
    header->addWidget(
        secondaryLabel(tr("Deleted notes stay here for 30 days, then they’re gone for good."), page), 1);
    header->addWidget(deleteAll, 0, Qt::AlignVCenter);

    m_list = new DeletedList;
    auto* content = new QWidget;
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(margin, 0, margin, margin);
    contentLayout->addWidget(m_list);
    contentLayout->addStretch();
    auto* scroll = new QScrollArea(page);
    m_scrollBar = scroll->verticalScrollBar();
    m_scrollBar->setStyleSheet(thinScrollBarStyle(palette()));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->viewport()->setBackgroundRole(QPalette::Window);
    scroll->setWidget(content);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(header);
    layout->addWidget(scroll, 1);
    return page;
}

void RecentlyDeleted::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange)
        m_scrollBar->setStyleSheet(thinScrollBarStyle(palette()));
    QWidget::changeEvent(event);
}

void RecentlyDeleted::showWindow() {
    reload();
    show();
    raise();
    activateWindow();
}

void RecentlyDeleted::reload() {
    auto deleted = m_manager.store().list(Store::NoteStore::Scope::recentlyDeleted);
    if (!deleted)
        Store::logStoreError(deleted.error());
    m_notes = deleted ? *deleted : QList<Store::Note>{};
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<DeletedRow*> rows;
    for (const Store::Note& note : std::as_const(m_notes)) {
        auto* row = new DeletedRow(note, now);
        const QUuid id = note.id;
        const QString title = Store::shownTitle(note.title());
        connect(row, &DeletedRow::restoreClicked, this, [this, id] { restore(id); });
        connect(row, &DeletedRow::deleteClicked, this,
                [this, id, title] { confirmPurge(tr("Delete “%1” immediately?").arg(title), {id}); });
        rows.append(row);
    }
    m_list->setRows(rows);
    m_pages->setCurrentWidget(m_notes.isEmpty() ? m_empty : m_listed);
}

void RecentlyDeleted::restore(const QUuid& id) {
    m_manager.restoreFromRecentlyDeleted(id);
    reload();
}

void RecentlyDeleted::confirmPurge(const QString& question, const QList<QUuid>& ids) {
    auto* alert = new QMessageBox(QMessageBox::Warning, windowTitle(), question, QMessageBox::NoButton, this);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setInformativeText(tr("You can’t undo this."));
    QPushButton* remove = alert->addButton(tr("Delete", "Alert button that deletes notes for good"),
                                           QMessageBox::DestructiveRole);
    QPushButton* cancel = alert->addButton(tr("Cancel"), QMessageBox::RejectRole);
    alert->setDefaultButton(remove);
    alert->setEscapeButton(cancel);
    connect(remove, &QPushButton::clicked, this, [this, ids] { purge(ids); });
    alert->open();
}

void RecentlyDeleted::purge(const QList<QUuid>& ids) {
    if (const auto purged = m_manager.store().purge(ids); !purged)
        Store::logStoreError(purged.error());
    else
        qCInfo(Core::shellLog, "purged %ld notes from Recently Deleted", long(ids.size()));
    reload();
}

} // namespace Dovrin::Shell
