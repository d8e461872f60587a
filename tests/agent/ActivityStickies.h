#pragma once

#include "app/agent/StickyAccess.h"
#include "app/store/NoteStore.h"

#include <QSet>
#include <QTemporaryDir>

#include <memory>

namespace Dovrin::Agent {

// Stickies without windows over a real note database in a temporary folder: "open" notes are a set,
// an external edit writes straight to the database, and the Show All button is only counted.
class ActivityStickies final : public StickyAccess {
public:
    ActivityStickies();

    Store::NoteStore& store() { return *m_store; }
    bool hasOpenSticky(const QUuid& id) const override { return open.contains(id); }
    bool isStickyLive(const QUuid& id) const override { return open.contains(id); }
    bool isStickyKey(const QUuid&) const override { return false; }
    void currentNote(const QUuid& id, std::function<void(std::optional<Store::Note>)> done) override;
    void applyExternalEdit(const QUuid& id, const QString& markdown, qint64 baseRev, const QString& editor,
                           Store::AgentLabel::Action action, std::function<void(EditOutcome)> done) override;
    void refreshSticky(const QUuid&) override {}
    std::optional<Batch> createBatchForAgent(const QList<AgentNote>& notes, const QUuid& batchID,
                                             const QString& agent) override;
    void deleteNotesForAgent(const QList<QUuid>& ids, const std::optional<QString>& deletedBy,
                             std::function<void(QList<QUuid>)> done) override;
    void undoAgentDeletion(const QList<QUuid>& ids) override;
    void showNote(const QUuid&) override {}
    void showParked() override { ++parkedShown; }

    // One note as the user would write it; fails the test run loudly when the database does.
    Store::Note userNote(const QString& markdown);
    Store::Note reload(const QUuid& id);

    QSet<QUuid> open;
    int parkedShown = 0;
    // An external edit answers with a conflict (the user typed meanwhile).
    bool editorConflicts = false;

private:
    QTemporaryDir m_folder;
    std::unique_ptr<Store::NoteStore> m_store;
};

} // namespace Dovrin::Agent
