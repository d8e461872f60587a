#pragma once

#include "app/agent/StickyAccess.h"
#include "app/core/Clock.h"
#include "app/store/Note.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class QScreen;

namespace Dovrin::Agent {
class Provenance;
}

namespace Dovrin::Stickies {

class FullScreenWatch;
class StickyManager;

// The agent side's view of the open stickies, over the sticky manager: the agent side never sees a window.
// It also holds back an AI's notes while a full-screen window covers their screen.
class AgentStickies final : public QObject, public Agent::StickyAccess {
    Q_OBJECT
    Q_DISABLE_COPY(AgentStickies)

public:
    // `provenance` is the ✦ table the manager's stickies follow.
    AgentStickies(StickyManager& manager, Agent::Provenance& provenance,
                  Core::Clock& clock = Core::Clock::system(), QObject* parent = nullptr);

    // Whether a full-screen window of another application covers a screen; replaces the desktop's check.
    void setFullScreenCheck(std::function<bool(const QScreen&)> check);
    // A space or application change: parked notes show once their screen is clear.
    void showParkedIfClear();

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
                             std::function<void(QList<QUuid> deleted)> done) override;
    void undoAgentDeletion(const QList<QUuid>& ids) override;
    void showNote(const QUuid& id) override;
    void showParked() override;

private:
    struct Parked {
        QList<Store::Note> notes;
        QPointer<QScreen> screen;
    };

    bool isScreenOccupied(const QScreen& screen) const;

    StickyManager& m_manager;
    Agent::Provenance& m_provenance;
    Core::Clock& m_clock;
    std::optional<Parked> m_parked;
    FullScreenWatch* m_fullScreenWatch = nullptr;
    std::function<bool(const QScreen&)> m_fullScreenCheck;
};

} // namespace Dovrin::Stickies
