#pragma once

#include "app/store/Note.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

namespace Dovrin::Agent {

// What the agent side needs from open stickies and the screen. The sticky manager implements it; the
// agent side never sees a window. Asynchronous operations answer on the main thread, possibly later.
class StickyAccess {
public:
    virtual ~StickyAccess() = default;

    virtual bool hasOpenSticky(const QUuid& id) const = 0;
    // The user can watch changes: the sticky is open and not collapsed.
    virtual bool isStickyLive(const QUuid& id) const = 0;
    // The note's sticky is the key window of the active application.
    virtual bool isStickyKey(const QUuid& id) const = 0;

    // The note as its open sticky holds it, unsaved typing included; nothing without an open sticky, or
    // when the sticky goes before its editor answered.
    virtual void currentNote(const QUuid& id, std::function<void(std::optional<Store::Note>)> done) = 0;

    struct EditOutcome {
        enum class Status {
            applied,
            // The merge left the text as it was: nothing was written.
            unchanged,
            // The note changed under the AI's edit; rev and markdown are the note's current ones.
            conflict,
            // The text could not be stored, or the sticky went before it could be.
            unsaved,
        };
        Status status = Status::unsaved;
        // The note's rev and markdown after the call.
        qint64 rev = 0;
        QString markdown;
    };
    // Merges an AI's markdown into the open sticky's editor (against the text of `baseRev`). `done` runs
    // exactly once, also when the sticky is closed or deleted meanwhile (then with unsaved).
    virtual void applyExternalEdit(const QUuid& id, const QString& markdown, qint64 baseRev,
                                   const QString& editor, Store::AgentLabel::Action action,
                                   std::function<void(EditOutcome)> done) = 0;
    // The database changed the note (or its label) behind the open sticky's back.
    virtual void refreshSticky(const QUuid& id) = 0;

    struct AgentNote {
        QString markdown;
        Store::StickyColor color = Store::StickyColor::yellow;
    };
    struct Batch {
        QList<Store::Note> notes;
        // Some notes were created out of sight (a full-screen window covers the screen).
        bool parked = false;
    };
    // Lays the notes out on screen and stores them all or none; nothing on failure.
    virtual std::optional<Batch> createBatchForAgent(const QList<AgentNote>& notes, const QUuid& batchID,
                                                     const QString& agent) = 0;
    // Moves the notes to Recently Deleted, flushing and closing their stickies first; `done` gets those
    // that were moved. A note that could not be moved stays where it was, its sticky open.
    virtual void deleteNotesForAgent(const QList<QUuid>& ids, const std::optional<QString>& deletedBy,
                                     std::function<void(QList<QUuid> deleted)> done) = 0;
    // Restores notes an AI deleted; those that were open come back on screen.
    virtual void undoAgentDeletion(const QList<QUuid>& ids) = 0;

    // The toasts' "Show" buttons.
    virtual void showNote(const QUuid& id) = 0;
    virtual void showParked() = 0;
};

} // namespace Dovrin::Agent
