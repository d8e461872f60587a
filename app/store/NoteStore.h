#pragma once

#include "app/store/Note.h"
#include "app/store/SearchIndex.h"
#include "app/store/StoreError.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

struct sqlite3;

namespace Dovrin::Store {

// Every note in one SQLite file. One store per process, used from the main thread only.
class NoteStore final {
public:
    enum class Scope { active, open, recentlyDeleted };

    struct NewNote {
        QString markdown;
        StickyColor color = StickyColor::yellow;
        QRectF frame;
        std::optional<QString> screenID;
    };

    struct SearchResult {
        QList<Note> notes;
        int total = 0;
    };

    struct Snapshot {
        QString markdown;
        std::optional<AgentLabel> label;
        qint64 rev = 0;
    };

    // Opens (creating when missing) and migrates the database at `filePath` to the current schema.
    static StoreResult<std::unique_ptr<NoteStore>> open(const QString& filePath);
    // Opens "Dovrin.sqlite" in the data directory.
    static StoreResult<std::unique_ptr<NoteStore>> openInDataDirectory();

    ~NoteStore();
    NoteStore(const NoteStore&) = delete;
    NoteStore& operator=(const NoteStore&) = delete;

    bool isNew() const { return m_isNew; }
    QString filePath() const { return m_filePath; }

    // Called after a user edit removed an AI label from a note.
    std::function<void(const QUuid&)> onAgentLabelCleared;

    // At most `limit` notes when given.
    StoreResult<QList<Note>> list(Scope scope, std::optional<int> limit = std::nullopt);
    // Notes in Recently Deleted are returned too.
    StoreResult<std::optional<Note>> note(const QUuid& id);
    StoreResult<SearchResult> search(const QString& query, int limit);
    // All-or-nothing: either every note of the batch is stored or none is.
    StoreResult<QList<Note>> create(const QList<NewNote>& notes, const QString& createdBy,
                                    const std::optional<QUuid>& batchID, const QDateTime& time);
    // No editor, or madeByUser, means the user. Returns the note as stored, or nothing when it is missing
    // or deleted.
    StoreResult<std::optional<Note>> updateMarkdown(const QUuid& id, const QString& markdown,
                                                    const QDateTime& time,
                                                    const std::optional<QString>& editor = std::nullopt,
                                                    AgentLabel::Action action = AgentLabel::Action::edited);
    StoreResult<void> saveWindowState(const QUuid& id, const WindowState& state);
    // True when the note was empty and has been discarded for good.
    StoreResult<bool> close(const QUuid& id);
    StoreResult<void> moveToRecentlyDeleted(const QUuid& id, const QDateTime& time,
                                            const std::optional<QString>& deletedBy);
    StoreResult<void> deleteForGood(const QList<QUuid>& ids);
    // All-or-nothing: deletes for good those of the notes still in Recently Deleted (a note restored
    // meanwhile stays) and their undo snapshots. Returns how many notes went.
    StoreResult<int> purge(const QList<QUuid>& ids);
    StoreResult<void> restore(const QUuid& id);
    StoreResult<void> restoreAndOpen(const QUuid& id);
    StoreResult<void> reopen(const QUuid& id);
    // How long a note stays in Recently Deleted before the launch-time purge removes it: 30 days.
    static constexpr qint64 keptDeletedSeconds = 2'592'000;
    StoreResult<int> purgeExpired(const QDateTime& now);
    StoreResult<void> saveSnapshot(const Note& before, qint64 revAfter, bool join);
    StoreResult<std::optional<Snapshot>> snapshot(const QUuid& id);

private:
    NoteStore(sqlite3* db, QString filePath);
    // Hands `result` back once the search index has read the notes a write may have changed.
    template <typename T> StoreResult<T> afterWrite(StoreResult<T> result, const QList<QString>& ids);

    sqlite3* m_db = nullptr;
    QString m_filePath;
    bool m_isNew = false;
    SearchIndex m_searchIndex;
};

} // namespace Dovrin::Store
