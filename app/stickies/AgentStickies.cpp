#include "app/stickies/AgentStickies.h"

#include "app/agent/Provenance.h"
#include "app/core/Log.h"
#include "app/core/ScreenSpace.h"
#include "app/stickies/FullScreenWatch.h"
#include "app/stickies/Geometry.h"
#include "app/stickies/NoteLinks.h"
#include "app/stickies/StickyController.h"
#include "app/stickies/StickyManager.h"
#include "app/stickies/StickyPanel.h"
#include "app/store/NoteStore.h"

#include <QScreen>

namespace Dovrin::Stickies {

using Store::logStoreError;
using Store::Note;

AgentStickies::AgentStickies(StickyManager& manager, Agent::Provenance& provenance, Core::Clock& clock,
                             QObject* parent)
    : QObject(parent), m_manager(manager), m_provenance(provenance), m_clock(clock),
      m_fullScreenWatch(new FullScreenWatch(this)) {
    m_fullScreenCheck = [watch = m_fullScreenWatch](const QScreen& screen) {
        return watch->isOccupied(screen);
    };
    connect(m_fullScreenWatch, &FullScreenWatch::changed, this, &AgentStickies::showParkedIfClear);
}

void AgentStickies::setFullScreenCheck(std::function<bool(const QScreen&)> check) {
    m_fullScreenCheck = std::move(check);
}

bool AgentStickies::hasOpenSticky(const QUuid& id) const {
    return m_manager.sticky(id) != nullptr;
}

bool AgentStickies::isStickyLive(const QUuid& id) const {
    const StickyController* open = m_manager.sticky(id);
    return open && !open->note().isCollapsed;
}

bool AgentStickies::isStickyKey(const QUuid& id) const {
    const StickyController* open = m_manager.sticky(id);
    return open && open->panel()->isActiveWindow();
}

void AgentStickies::currentNote(const QUuid& id, std::function<void(std::optional<Note>)> done) {
    StickyController* open = m_manager.sticky(id);
    if (!open)
        return done(std::nullopt);
    open->flush(
        [guard = QPointer(open), done] { done(guard ? std::optional(guard->note()) : std::nullopt); });
}

void AgentStickies::applyExternalEdit(const QUuid& id, const QString& markdown, qint64 baseRev,
                                      const QString& editor, Store::AgentLabel::Action action,
                                      std::function<void(EditOutcome)> done) {
    if (StickyController* open = m_manager.sticky(id))
        return open->applyExternalEdit(markdown, baseRev, editor, action, std::move(done));
    // Callers ask only for open stickies; without one the edit is refused with what the database holds.
    const auto stored = m_manager.store().note(id);
    if (!stored)
        logStoreError(stored.error());
    if (!stored || !*stored)
        return done({EditOutcome::Status::unsaved, 0, {}});
    done({EditOutcome::Status::conflict, (**stored).rev, (**stored).markdown});
}

void AgentStickies::refreshSticky(const QUuid& id) {
    if (StickyController* open = m_manager.sticky(id))
        open->refreshFromStore();
}

std::optional<AgentStickies::Batch> AgentStickies::createBatchForAgent(const QList<AgentNote>& notes,
                                                                       const QUuid& batchID,
                                                                       const QString& agent) {
    QScreen* screen = Core::ScreenSpace::screenContaining(Core::ScreenSpace::mouseLocation());
    if (!screen)
        return std::nullopt;
    QList<double> heights;
    for (const AgentNote& note : notes)
        heights.append(Geometry::estimatedHeight(note.markdown));
    QList<QRectF> obstacles;
    for (StickyController* sticky : m_manager.stickies())
        if (sticky->panel()->isVisible())
            obstacles.append(Core::ScreenSpace::fromWindow(sticky->panel()->geometry()));
    const QList<QRectF> frames =
        Geometry::batchLayout(heights, Core::ScreenSpace::visibleFrame(*screen), obstacles);
    QList<Store::NoteStore::NewNote> newNotes;
    for (qsizetype i = 0; i < notes.size(); ++i)
        newNotes.append({notes.at(i).markdown, notes.at(i).color, frames.at(i), Geometry::screenID(*screen)});
    const auto created = m_manager.store().create(newNotes, agent, batchID, m_clock.now());
    if (!created) {
        logStoreError(created.error());
        return std::nullopt;
    }
    for (const Note& note : *created)
        m_provenance.note(note);
    const bool parked = isScreenOccupied(*screen);
    if (parked)
        m_parked = Parked{*created, screen};
    else
        m_manager.showStaggered(*created, false);
    qCInfo(Core::stickiesLog, "agent batch %s: %ld notes, parked=%s", qUtf8Printable(Store::idText(batchID)),
           long(created->size()), Core::logBool(parked));
    return Batch{*created, parked};
}

void AgentStickies::deleteNotesForAgent(const QList<QUuid>& ids, const std::optional<QString>& deletedBy,
                                        std::function<void(QList<QUuid> deleted)> done) {
    m_manager.deleteNotesForAgent(ids, deletedBy, std::move(done));
}

void AgentStickies::undoAgentDeletion(const QList<QUuid>& ids) {
    QList<Note> reopened;
    for (const QUuid& id : ids) {
        if (const auto restored = m_manager.store().restore(id); !restored) {
            logStoreError(restored.error());
            continue;
        }
        const auto stored = m_manager.store().note(id);
        if (!stored)
            logStoreError(stored.error());
        else if (*stored && (*stored)->isOpen)
            reopened.append(**stored);
    }
    m_manager.showStaggered(reopened, false);
}

void AgentStickies::showNote(const QUuid& id) {
    m_manager.links().revealNote(id);
}

bool AgentStickies::isScreenOccupied(const QScreen& screen) const {
    return m_fullScreenCheck && m_fullScreenCheck(screen);
}

void AgentStickies::showParkedIfClear() {
    if (!m_parked || (m_parked->screen && isScreenOccupied(*m_parked->screen)))
        return;
    const QList<Note> notes = std::exchange(m_parked, std::nullopt)->notes;
    m_manager.showStaggered(notes, false);
}

void AgentStickies::showParked() {
    if (!m_parked)
        return;
    const QList<Note> notes = std::exchange(m_parked, std::nullopt)->notes;
    m_manager.showStaggered(notes, true);
}

} // namespace Dovrin::Stickies
