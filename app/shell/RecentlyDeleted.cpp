#include "app/shell/RecentlyDeleted.h"

#include "app/core/Log.h"
#include "app/core/RelativeTime.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace Dovrin::Shell {

namespace {

constexpr qint64 keptForSeconds = 30 * 86'400;
constexpr qint64 dayMs = 86'400'000;

// Whole days, rounded up, until the launch-time purge may remove the note.
int daysLeft(const QDateTime& deletedAt, const QDateTime& now) {
    const qint64 remainingMs = now.msecsTo(deletedAt.addSecs(keptForSeconds));
    return remainingMs <= 0 ? 0 : int((remainingMs + dayMs - 1) / dayMs);
}

QString rowText(const Store::Note& note, const QDateTime& now) {
    QStringList lines{Store::shownTitle(note.title())};
    if (const QString body = note.bodyLine(); !body.isEmpty())
        lines.append(body);
    if (note.deletedBy && !note.deletedBy->isEmpty())
        lines.append(RecentlyDeleted::tr("Deleted by %1").arg(*note.deletedBy));
    if (note.deletedAt)
        lines.append(
            RecentlyDeleted::tr("Deleted %1 · %n days left",
                                "Recently Deleted row: when, then the days until it is gone for good",
                                daysLeft(*note.deletedAt, now))
                .arg(Core::relativeTime(*note.deletedAt, now)));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

RecentlyDeleted::RecentlyDeleted(Stickies::StickyManager& manager, QWidget* parent)
    : QWidget(parent, Qt::Window), m_manager(manager),
      m_emptyState(new QLabel(tr("No recently deleted notes.\nDeleted notes stay here for 30 days."), this)),
      m_header(new QLabel(tr("Deleted notes stay here for 30 days, then they’re gone for good."), this)),
      m_notes(new QListWidget(this)), m_restore(new QPushButton(tr("Restore"), this)) {
    setWindowTitle(tr("Recently Deleted"));
    m_emptyState->setAlignment(Qt::AlignCenter);
    m_emptyState->setForegroundRole(QPalette::PlaceholderText);
    m_header->setForegroundRole(QPalette::PlaceholderText);
    m_header->setWordWrap(true);
    m_notes->setWordWrap(true);
    m_notes->setAlternatingRowColors(true);
    m_restore->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_restore);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_header);
    layout->addWidget(m_notes, 1);
    layout->addWidget(m_emptyState, 1);
    layout->addLayout(buttons);
    resize(600, 420);

    connect(m_notes, &QListWidget::currentRowChanged, this,
            [this](int row) { m_restore->setEnabled(row >= 0); });
    connect(m_restore, &QPushButton::clicked, this, &RecentlyDeleted::restoreSelected);
    reload();
}

void RecentlyDeleted::showWindow() {
    reload();
    show();
    raise();
    activateWindow();
}

void RecentlyDeleted::reload() {
    m_notes->clear();
    auto deleted = m_manager.store().list(Store::NoteStore::Scope::recentlyDeleted);
    if (!deleted)
        Store::logStoreError(deleted.error());
    const QList<Store::Note> notes = deleted ? *deleted : QList<Store::Note>{};
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const Store::Note& note : notes) {
        auto* row = new QListWidgetItem(rowText(note, now), m_notes);
        row->setData(Qt::UserRole, note.id);
    }
    const bool empty = notes.isEmpty();
    m_emptyState->setVisible(empty);
    m_header->setVisible(!empty);
    m_notes->setVisible(!empty);
    m_restore->setVisible(!empty);
    m_restore->setEnabled(m_notes->currentRow() >= 0);
}

void RecentlyDeleted::restoreSelected() {
    const QListWidgetItem* row = m_notes->currentItem();
    if (!row)
        return;
    m_manager.restoreFromRecentlyDeleted(row->data(Qt::UserRole).toUuid());
    reload();
}

} // namespace Dovrin::Shell
