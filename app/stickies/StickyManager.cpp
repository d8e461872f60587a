#include "StickyManager.h"

#include "DesignGeometry.h"
#include "Geometry.h"
#include "Log.h"
#include "NoteStore.h"
#include "Provenance.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace Dovrin::Stickies {

using Store::Note;

namespace {

void logStoreError(const Store::StoreError& error) {
    qCWarning(dovrinLog, "store: %s", qUtf8Printable(error.description));
}

// The screen under the mouse, else the main one.
QScreen* batchScreen() {
    if (QScreen* screen = QGuiApplication::screenAt(QCursor::pos()))
        return screen;
    return QGuiApplication::primaryScreen();
}

} // namespace

StickyManager::StickyManager(Store::NoteStore& store, Agent::Provenance& provenance, QObject* parent)
    : QObject(parent), m_store(store), m_provenance(provenance) {}

bool StickyManager::hasOpenSticky(const QUuid&) const {
    return false;
}

bool StickyManager::isStickyLive(const QUuid&) const {
    return false;
}

bool StickyManager::isStickyKey(const QUuid&) const {
    return false;
}

void StickyManager::currentNote(const QUuid&, std::function<void(std::optional<Note>)> done) {
    done(std::nullopt);
}

void StickyManager::applyExternalEdit(const QUuid& id, const QString& markdown, qint64 baseRev,
                                      const QString& editor, Store::AgentLabel::Action action,
                                      std::function<void(EditOutcome)> done) {
    // No editor holds the note, as with one still loading: the text is saved when its base is current.
    const auto stored = m_store.note(id);
    if (!stored || !*stored) {
        if (!stored)
            logStoreError(stored.error());
        return done({});
    }
    if ((*stored)->rev != baseRev)
        return done({false, (*stored)->rev, (*stored)->markdown});
    const std::optional<QString> agent =
        editor == QLatin1String("user") ? std::nullopt : std::optional(editor);
    const auto written = m_store.updateMarkdown(id, markdown, QDateTime::currentDateTimeUtc(), agent, action);
    if (!written || !*written) {
        if (!written)
            logStoreError(written.error());
        return done({false, (*stored)->rev, (*stored)->markdown});
    }
    done({true, (**written).rev, (**written).markdown});
}

void StickyManager::refreshSticky(const QUuid&) {}

std::optional<StickyManager::Batch> StickyManager::createBatchForAgent(const QList<AgentNote>& notes,
                                                                       const QUuid& batchID,
                                                                       const QString& agent) {
    QScreen* screen = batchScreen();
    if (!screen)
        return std::nullopt;
    QList<double> heights;
    for (const AgentNote& note : notes)
        heights.append(Geometry::estimatedHeight(note.markdown));
    const QList<QRectF> frames =
        Geometry::batchLayout(heights, Agent::DesignGeometry::visibleFrame(*screen), {});
    QList<Store::NoteStore::NewNote> newNotes;
    for (qsizetype i = 0; i < notes.size(); ++i)
        newNotes.append({notes.at(i).markdown, notes.at(i).color, frames.at(i), Geometry::screenID(*screen)});
    const auto created = m_store.create(newNotes, agent, batchID, QDateTime::currentDateTimeUtc());
    if (!created) {
        logStoreError(created.error());
        return std::nullopt;
    }
    for (const Note& note : *created)
        m_provenance.note(note);
    qCInfo(dovrinLog, "agent batch %s: %ld notes, parked=%d", qUtf8Printable(Store::idText(batchID)),
           long(created->size()), 0);
    return Batch{*created, false};
}

void StickyManager::deleteNotesForAgent(const QList<QUuid>& ids, const std::optional<QString>& deletedBy,
                                        std::function<void()> done) {
    for (const QUuid& id : ids)
        if (const auto moved = m_store.moveToRecentlyDeleted(id, QDateTime::currentDateTimeUtc(), deletedBy);
            !moved)
            logStoreError(moved.error());
    done();
}

void StickyManager::undoAgentDeletion(const QList<QUuid>& ids) {
    for (const QUuid& id : ids)
        if (const auto restored = m_store.restore(id); !restored)
            logStoreError(restored.error());
}

void StickyManager::showNote(const QUuid& id) {
    // Without windows, showing a note means it opens with the stickies.
    if (const auto reopened = m_store.reopen(id); !reopened)
        logStoreError(reopened.error());
}

void StickyManager::showParked() {
    // Nothing is parked: a batch is never held back without windows to show it.
}

} // namespace Dovrin::Stickies
