#pragma once

#include "Note.h"
#include "NoteStore.h"

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

    // The database, reached through the manager as everything else is.
    virtual Store::NoteStore& store() = 0;

    virtual bool hasOpenSticky(const QUuid& id) const = 0;
    // The user can watch changes: the sticky is open and not collapsed.
    virtual bool isStickyLive(const QUuid& id) const = 0;
    // The note's sticky is the key window of the active application.
    virtual bool isStickyKey(const QUuid& id) const = 0;

    // The note as its open sticky holds it, unsaved typing included; nothing without an open sticky.
    virtual void currentNote(const QUuid& id, std::function<void(std::optional<Store::Note>)> done) = 0;

    struct EditOutcome {
        bool applied = false;
        // Applied: the rev after the edit. Conflict: the note's current rev and markdown.
        qint64 rev = 0;
        QString markdown;
    };
    // Merges an AI's markdown into the open sticky's editor (against the text of `baseRev`).
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
    // Moves the notes to Recently Deleted, flushing and closing their stickies first.
    virtual void deleteNotesForAgent(const QList<QUuid>& ids, const std::optional<QString>& deletedBy,
                                     std::function<void()> done) = 0;
    // Restores notes an AI deleted; those that were open come back on screen.
    virtual void undoAgentDeletion(const QList<QUuid>& ids) = 0;

    // The toasts' "Show" buttons.
    virtual void showNote(const QUuid& id) = 0;
    virtual void showParked() = 0;
};

} // namespace Dovrin::Agent
