#include "app/store/NoteStore.h"

#include "app/store/NoteSchema.h"
#include "app/store/PlainText.h"
#include "app/store/Statement.h"
#include "shared/bridge/DataDirectory.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <string_view>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace Dovrin::Store {

namespace {

using NoteSchema::searchBody;
using NoteSchema::searchTitle;

// Error descriptions quote a statement's first 60 characters, so those keep their layout; the rest reads one
// clause per line.

// The one column list a note is read with; followed by its FROM clause.
constexpr char selectNote[] =
    R"sql(SELECT id, markdown, color, frame_x, frame_y, frame_w, frame_h, screen_id, is_open, is_floating,
    is_collapsed, created_at, updated_at, rev, deleted_at, created_by, batch_id, last_edited_by,
    deleted_by, last_agent_action
)sql";

// The columns of selectNote, in its order.
struct NoteColumn {
    enum Index : int {
        id,
        markdown,
        color,
        frameX,
        frameY,
        frameW,
        frameH,
        screenID,
        isOpen,
        isFloating,
        isCollapsed,
        createdAt,
        updatedAt,
        rev,
        deletedAt,
        createdBy,
        batchID,
        lastEditedBy,
        deletedBy,
        lastAgentAction,
        count
    };
};

constexpr int columnCount(std::string_view select) {
    return int(std::count(select.begin(), select.end(), ',')) + 1;
}
static_assert(columnCount(selectNote) == NoteColumn::count);

// Only notes in Recently Deleted can be deleted for good.
constexpr char deleteFromRecentlyDeleted[] =
    R"sql(DELETE FROM note WHERE id = ? AND deleted_at IS NOT NULL)sql";

constexpr char removeOrphanSnapshots[] =
    R"sql(DELETE FROM note_snapshot WHERE note_id NOT IN (SELECT id FROM note))sql";

// Stored ids are lower-case hyphenated text; anything else is not a note id.
std::optional<QUuid> uuidFromText(const QString& text) {
    static const QString nilText = idText(QUuid());
    if (text.size() != nilText.size())
        return std::nullopt;
    const QUuid id(text);
    if (id.isNull() && text != nilText)
        return std::nullopt;
    return id;
}

std::optional<Note> noteFromRow(const Statement::Row& row) {
    const auto id = uuidFromText(row.text(NoteColumn::id));
    if (!id)
        return std::nullopt;
    Note note;
    note.id = *id;
    note.markdown = row.text(NoteColumn::markdown);
    note.color = stickyColorFromRawValue(row.text(NoteColumn::color));
    note.frame = QRectF(row.real(NoteColumn::frameX), row.real(NoteColumn::frameY),
                        row.real(NoteColumn::frameW), row.real(NoteColumn::frameH));
    note.screenID = row.optionalText(NoteColumn::screenID);
    note.isOpen = row.boolean(NoteColumn::isOpen);
    note.isFloating = row.boolean(NoteColumn::isFloating);
    note.isCollapsed = row.boolean(NoteColumn::isCollapsed);
    note.createdAt = row.date(NoteColumn::createdAt);
    note.updatedAt = row.date(NoteColumn::updatedAt);
    note.rev = row.integer(NoteColumn::rev);
    note.deletedAt = row.optionalDate(NoteColumn::deletedAt);
    note.createdBy = row.optionalText(NoteColumn::createdBy).value_or(madeByUser);
    note.batchID = uuidFromText(row.text(NoteColumn::batchID));
    if (const auto agent = row.optionalText(NoteColumn::lastEditedBy))
        note.agentLabel = AgentLabel{*agent, agentActionFromRawValue(row.text(NoteColumn::lastAgentAction))};
    note.deletedBy = row.optionalText(NoteColumn::deletedBy);
    return note;
}

StoreResult<QList<Note>> readNotes(sqlite3* db, QByteArrayView sql,
                                   std::initializer_list<Statement::Value> values = {}) {
    QList<Note> notes;
    auto result = Statement::run(db, sql, values, [&](const Statement::Row& row) {
        // A row that cannot be a note (its id is no UUID) is left out rather than hiding every other note.
        if (auto note = noteFromRow(row))
            notes.append(std::move(*note));
    });
    if (!result)
        return result.error();
    return notes;
}

StoreResult<std::optional<Note>> readNote(sqlite3* db, const QUuid& id) {
    auto notes = readNotes(db, QByteArray(selectNote) + R"sql(FROM note
WHERE id = ?)sql",
                           {idText(id)});
    if (!notes)
        return notes.error();
    if (notes->isEmpty())
        return std::optional<Note>();
    return std::optional<Note>(notes->first());
}

StoreResult<void> refuseReadOnly(sqlite3* db, const QString& filePath) {
    // SQLite quietly falls back to read-only on a write-protected file; every later save would then fail.
    if (sqlite3_db_readonly(db, "main") == 1)
        return StoreError{u"open "_s + filePath + u": "_s +
                          QString::fromUtf8(sqlite3_errstr(SQLITE_READONLY))};
    return {};
}

} // namespace

NoteStore::NoteStore(sqlite3* db, QString filePath) : m_db(db), m_filePath(std::move(filePath)) {}

template <typename T> StoreResult<T> NoteStore::afterWrite(StoreResult<T> result, const QList<QString>& ids) {
    m_searchIndex.noteWritten(m_db, ids);
    return result;
}

NoteStore::~NoteStore() {
    sqlite3_close_v2(m_db);
}

StoreResult<std::unique_ptr<NoteStore>> NoteStore::open(const QString& filePath) {
    sqlite3* db = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(filePath).constData(), &db,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (code != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : u"out of memory"_s;
        sqlite3_close_v2(db);
        return StoreError{u"open "_s + filePath + u": "_s + message};
    }
    std::unique_ptr<NoteStore> store(new NoteStore(db, filePath));
    sqlite3_busy_timeout(db, 2000);
    if (auto writable = refuseReadOnly(db, filePath); !writable)
        return writable.error();

    // The version is checked before switching to WAL: turning on WAL rewrites the file header, and a
    // database from a newer app must stay exactly as it is.
    const auto version = NoteSchema::version(db);
    if (!version)
        return version.error();
    if (*version > NoteSchema::currentVersion)
        return StoreError{u"database schema %1 is newer than this app (%2)"_s.arg(*version).arg(
            NoteSchema::currentVersion)};
    if (auto wal = Statement::run(db, R"sql(PRAGMA journal_mode = WAL)sql"); !wal)
        return wal.error();
    if (auto migrated = NoteSchema::migrate(db, *version); !migrated)
        return migrated.error();
    store->m_isNew = *version <= 0;
    NoteSchema::dropEarlierSearchIndexes(db);
    return store;
}

StoreResult<std::unique_ptr<NoteStore>> NoteStore::openInDataDirectory() {
    const auto path = Bridge::dataFile(QString::fromLatin1(Bridge::databaseFileName));
    if (!path)
        return StoreError{u"data directory unavailable"_s};
    return open(*path);
}

StoreResult<QList<Note>> NoteStore::list(Scope scope, std::optional<int> limit) {
    QByteArray sql = QByteArray(selectNote) + R"sql(FROM note
)sql";
    switch (scope) {
    case Scope::active:
        sql += R"sql(WHERE deleted_at IS NULL
ORDER BY updated_at DESC)sql";
        break;
    case Scope::open:
        sql += R"sql(WHERE deleted_at IS NULL AND is_open = 1
ORDER BY updated_at ASC)sql";
        break;
    case Scope::recentlyDeleted:
        sql += R"sql(WHERE deleted_at IS NOT NULL
ORDER BY deleted_at DESC)sql";
        break;
    }
    if (limit)
        sql += R"sql(
LIMIT )sql" + QByteArray::number(std::max(*limit, 0));
    return readNotes(m_db, sql);
}

StoreResult<std::optional<Note>> NoteStore::note(const QUuid& id) {
    return readNote(m_db, id);
}

StoreResult<NoteStore::SearchResult> NoteStore::search(const QString& query, int limit) {
    auto hits = m_searchIndex.find(m_db, PlainText::fold(query.trimmed()), limit);
    if (!hits)
        return hits.error();
    // One statement for all of them, by the ids as stored (which need not be in the lower case this app
    // writes), then put back in the index's order.
    auto notes =
        readNotes(m_db, QByteArray(selectNote) + R"sql(FROM note
WHERE id IN (SELECT value FROM json_each(?)))sql",
                  {QString::fromUtf8(
                      QJsonDocument(QJsonArray::fromStringList(hits->ids)).toJson(QJsonDocument::Compact))});
    if (!notes)
        return notes.error();
    QHash<QUuid, qsizetype> rank;
    for (qsizetype i = 0; i < hits->ids.size(); ++i)
        rank.insert(QUuid(hits->ids.at(i)), i);
    QList<Note> found = std::move(notes).value();
    std::sort(found.begin(), found.end(),
              [&](const Note& a, const Note& b) { return rank.value(a.id) < rank.value(b.id); });
    return SearchResult{std::move(found), hits->total};
}

StoreResult<QList<Note>> NoteStore::create(const QList<NewNote>& notes, const QString& createdBy,
                                           const std::optional<QUuid>& batchID, const QDateTime& time) {
    const std::optional<QString> lastEditedBy =
        createdBy == madeByUser ? std::nullopt : std::optional<QString>(createdBy);
    const std::optional<QString> action =
        lastEditedBy ? std::optional<QString>(rawValue(AgentLabel::Action::added)) : std::nullopt;
    const std::optional<QString> batch = batchID ? std::optional<QString>(idText(*batchID)) : std::nullopt;
    auto result = inTransaction<QList<Note>>(m_db, [&]() -> StoreResult<QList<Note>> {
        QList<Note> created;
        for (qsizetype i = 0; i < notes.size(); ++i) {
            const NewNote& note = notes.at(i);
            // A millisecond apart, so that the notes of a batch keep their order by updated_at.
            const QDateTime noteTime = time.addMSecs(i);
            const QUuid id = QUuid::createUuid();
            auto inserted = Statement::run(
                m_db,
                R"sql(INSERT INTO note (id, markdown, color, frame_x, frame_y, frame_w, frame_h, screen_id, is_open,
    is_floating, is_collapsed, created_at, updated_at, rev, deleted_at, created_by,
    batch_id, last_edited_by, last_agent_action, search_title, search_body)
VALUES (?, ?, ?, ?, ?, ?, ?, ?, 1, 0, 0, ?, ?, 1, NULL, ?, ?, ?, ?, ?, ?))sql",
                {idText(id), note.markdown, rawValue(note.color), note.frame.x(), note.frame.y(),
                 note.frame.width(), note.frame.height(), note.screenID, noteTime, noteTime, createdBy, batch,
                 lastEditedBy, action, searchTitle(note.markdown), searchBody(note.markdown)});
            if (!inserted)
                return inserted.error();
            auto stored = readNote(m_db, id);
            if (!stored)
                return stored.error();
            if (!*stored)
                return StoreError{u"note "_s + idText(id) + u" vanished after insert"_s};
            created.append(**stored);
        }
        return created;
    });
    QList<QString> ids;
    if (result) {
        for (const Note& note : *result)
            ids.append(note.idText());
    }
    return afterWrite(std::move(result), ids);
}

StoreResult<std::optional<Note>> NoteStore::updateMarkdown(const QUuid& id, const QString& markdown,
                                                           const QDateTime& time,
                                                           const std::optional<QString>& editorName,
                                                           AgentLabel::Action action) {
    const std::optional<QString> editor =
        editorName && *editorName != madeByUser ? editorName : std::optional<QString>();
    bool hadAgentLabel = false;
    if (!editor) {
        const auto before = readNote(m_db, id);
        if (!before)
            return before.error();
        hadAgentLabel = *before && (*before)->agentLabel.has_value();
    }
    const std::optional<QString> actionText =
        editor ? std::optional<QString>(rawValue(action)) : std::nullopt;
    auto updated = Statement::run(m_db,
                                  R"sql(UPDATE note SET markdown = ?, rev = rev + 1, updated_at = ?,
    last_edited_by = ?, last_agent_action = ?, search_title = ?, search_body = ?
WHERE id = ? AND deleted_at IS NULL AND markdown <> ?)sql",
                                  {markdown, time, editor, actionText, searchTitle(markdown),
                                   searchBody(markdown), idText(id), markdown});
    m_searchIndex.noteWritten(m_db, {idText(id)});
    if (!updated)
        return updated.error();
    if (!editor && hadAgentLabel && sqlite3_changes(m_db) > 0 && onAgentLabelCleared)
        onAgentLabelCleared(id);
    auto after = readNote(m_db, id);
    if (!after)
        return after.error();
    if (*after && (*after)->deletedAt)
        return std::optional<Note>();
    return after;
}

StoreResult<void> NoteStore::saveWindowState(const QUuid& id, const WindowState& state) {
    return afterWrite(
        Statement::run(
            m_db,
            R"sql(UPDATE note SET color = ?, frame_x = ?, frame_y = ?, frame_w = ?, frame_h = ?, screen_id = ?,
    is_floating = ?, is_collapsed = ?
WHERE id = ?)sql",
            {rawValue(state.color), state.frame.x(), state.frame.y(), state.frame.width(),
             state.frame.height(), state.screenID, state.isFloating, state.isCollapsed, idText(id)}),
        {});
}

StoreResult<bool> NoteStore::close(const QUuid& id) {
    const auto current = readNote(m_db, id);
    if (!current)
        return current.error();
    if (*current && (*current)->isBlank()) {
        auto deleted = afterWrite(
            Statement::run(m_db, R"sql(DELETE FROM note WHERE id = ?)sql", {idText(id)}), {idText(id)});
        if (!deleted)
            return deleted.error();
        return true;
    }
    auto closed = afterWrite(
        Statement::run(m_db, R"sql(UPDATE note SET is_open = 0 WHERE id = ?)sql", {idText(id)}), {});
    if (!closed)
        return closed.error();
    return false;
}

StoreResult<void> NoteStore::moveToRecentlyDeleted(const QUuid& id, const QDateTime& time,
                                                   const std::optional<QString>& deletedBy) {
    return afterWrite(
        Statement::run(
            m_db,
            R"sql(UPDATE note SET deleted_at = ?, deleted_by = ? WHERE id = ? AND deleted_at IS NULL)sql",
            {time, deletedBy, idText(id)}),
        {idText(id)});
}

StoreResult<void> NoteStore::deleteForGood(const QList<QUuid>& ids) {
    // Only notes in Recently Deleted go, and search never holds those.
    for (const QUuid& id : ids) {
        auto deleted = afterWrite(Statement::run(m_db, deleteFromRecentlyDeleted, {idText(id)}), {});
        if (!deleted)
            return deleted;
    }
    return afterWrite(Statement::run(m_db, removeOrphanSnapshots), {});
}

StoreResult<int> NoteStore::purge(const QList<QUuid>& ids) {
    QList<QString> idTexts;
    for (const QUuid& id : ids)
        idTexts.append(idText(id));
    auto purged = inTransaction<int>(m_db, [&]() -> StoreResult<int> {
        int count = 0;
        for (const QString& id : idTexts) {
            if (auto deleted = Statement::run(m_db, deleteFromRecentlyDeleted, {id}); !deleted)
                return deleted.error();
            count += sqlite3_changes(m_db);
        }
        if (auto cleaned = Statement::run(m_db, removeOrphanSnapshots); !cleaned)
            return cleaned.error();
        return count;
    });
    return afterWrite(std::move(purged), idTexts);
}

StoreResult<void> NoteStore::restore(const QUuid& id) {
    return afterWrite(
        Statement::run(m_db, R"sql(UPDATE note SET deleted_at = NULL, deleted_by = NULL WHERE id = ?)sql",
                       {idText(id)}),
        {idText(id)});
}

StoreResult<void> NoteStore::restoreAndOpen(const QUuid& id) {
    return afterWrite(Statement::run(m_db,
                                     R"sql(UPDATE note SET deleted_at = NULL, deleted_by = NULL, is_open = 1
WHERE id = ?)sql",
                                     {idText(id)}),
                      {idText(id)});
}

StoreResult<void> NoteStore::reopen(const QUuid& id) {
    return afterWrite(
        Statement::run(m_db, R"sql(UPDATE note SET is_open = 1 WHERE id = ? AND deleted_at IS NULL)sql",
                       {idText(id)}),
        {});
}

StoreResult<int> NoteStore::purgeExpired(const QDateTime& now) {
    const double cutoff = Statement::secondsSince1970(now) - double(keptDeletedSeconds);
    auto purged = Statement::run(
        m_db, R"sql(DELETE FROM note WHERE deleted_at IS NOT NULL AND deleted_at < ?)sql", {cutoff});
    if (!purged)
        return purged.error();
    const int count = sqlite3_changes(m_db);
    if (auto cleaned = Statement::run(m_db, removeOrphanSnapshots); !cleaned)
        return cleaned.error();
    m_searchIndex.noteWritten(m_db, {});
    return count;
}

StoreResult<void> NoteStore::saveSnapshot(const Note& before, qint64 revAfter, bool join) {
    std::optional<qint64> storedRevAfter;
    auto read = Statement::run(m_db, R"sql(SELECT rev_after FROM note_snapshot WHERE note_id = ?)sql",
                               {before.idText()},
                               [&](const Statement::Row& row) { storedRevAfter = row.integer(0); });
    if (!read)
        return read;
    const bool continues = storedRevAfter && *storedRevAfter == before.rev;
    if (join && continues)
        return afterWrite(Statement::run(m_db,
                                         R"sql(UPDATE note_snapshot SET rev_after = ? WHERE note_id = ?)sql",
                                         {revAfter, before.idText()}),
                          {});
    const auto& label = before.agentLabel;
    return afterWrite(
        Statement::run(
            m_db,
            R"sql(INSERT OR REPLACE INTO note_snapshot (note_id, markdown, last_edited_by, last_agent_action, rev_after)
VALUES (?, ?, ?, ?, ?))sql",
            {before.idText(), before.markdown, label ? std::optional<QString>(label->agent) : std::nullopt,
             label ? std::optional<QString>(rawValue(label->action)) : std::nullopt, revAfter}),
        {});
}

StoreResult<std::optional<NoteStore::Snapshot>> NoteStore::snapshot(const QUuid& id) {
    std::optional<Snapshot> found;
    auto read = Statement::run(
        m_db,
        R"sql(SELECT s.markdown, s.last_edited_by, s.last_agent_action, n.rev
FROM note_snapshot s
JOIN note n ON n.id = s.note_id
WHERE s.note_id = ? AND n.rev = s.rev_after AND n.deleted_at IS NULL)sql",
        {idText(id)}, [&](const Statement::Row& row) {
            enum Column { markdown, lastEditedBy, lastAgentAction, rev };
            Snapshot snapshot;
            snapshot.markdown = row.text(markdown);
            if (const auto agent = row.optionalText(lastEditedBy))
                snapshot.label = AgentLabel{*agent, agentActionFromRawValue(row.text(lastAgentAction))};
            snapshot.rev = row.integer(rev);
            found = snapshot;
        });
    if (!read)
        return read.error();
    return found;
}

} // namespace Dovrin::Store
