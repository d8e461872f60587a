#pragma once

#include "StickyAccess.h"

#include <QObject>

namespace Dovrin::Store {
class NoteStore;
}

namespace Dovrin::Agent {
class Provenance;
}

namespace Dovrin::Stickies {

// The one owner of stickies. For now it keeps no windows: no note has an open sticky, and AI batches,
// deletions and restores go straight to the database, placed over the current screens.
class StickyManager final : public QObject, public Agent::StickyAccess {
    Q_OBJECT
    Q_DISABLE_COPY(StickyManager)

public:
    StickyManager(Store::NoteStore& store, Agent::Provenance& provenance, QObject* parent = nullptr);

    Store::NoteStore& store() override { return m_store; }

    bool hasOpenSticky(const QUuid& id) const override;
    bool isStickyLive(const QUuid& id) const override;
    bool isStickyKey(const QUuid& id) const override;
    void currentNote(const QUuid& id, std::function<void(std::optional<Store::Note>)> done) override;
    void applyExternalEdit(const QUuid& id, const QString& markdown, qint64 baseRev, const QString& editor,
                           Store::AgentLabel::Action action, std::function<void(EditOutcome)> done) override;
    void refreshSticky(const QUuid& id) override;

    std::optional<Batch> createBatchForAgent(const QList<AgentNote>& notes, const QUuid& batchID,
                                             const QString& agent) override;
    void deleteNotesForAgent(const QList<QUuid>& ids, const std::optional<QString>& deletedBy,
                             std::function<void()> done) override;
    void undoAgentDeletion(const QList<QUuid>& ids) override;

    void showNote(const QUuid& id) override;
    void showParked() override;

private:
    Store::NoteStore& m_store;
    Agent::Provenance& m_provenance;
};

} // namespace Dovrin::Stickies
