#include "NoteStore.h"

#include "DataDirectory.h"
#include "Log.h"
#include "PlainText.h"
#include "Statement.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <iterator>

#include <sqlite3.h>

namespace Dovrin::Store {

namespace {

constexpr int currentSchemaVersion = 4;
constexpr double purgeAgeSeconds = 2'592'000; // 30 days

#define NOTE_COLUMNS                                                                                         \
    "id, markdown, color, frame_x, frame_y, frame_w, frame_h, screen_id, is_open, is_floating, "             \
    "is_collapsed,\n"                                                                                        \
    "created_at, updated_at, rev, deleted_at, created_by, batch_id, last_edited_by, deleted_by, "            \
    "last_agent_action"

const QByteArray selectNote = "SELECT " NOTE_COLUMNS " FROM note WHERE ";
// Qualified, because the search index has columns of the same names.
constexpr char searchCondition[] = "note.deleted_at IS NULL AND (instr(note.search_title, ?1) > 0 OR "
                                   "instr(note.search_body, ?1) > 0)";

// Visits only the notes whose search columns contain the query (?3, as an FTS5 phrase); the instr()
// conditions still decide, so the answer is the scan's. CROSS JOIN fixes the order: left to itself the
// planner may walk every note through the deleted_at index and probe the index's answer for each.
constexpr char searchIndexSource[] =
    "note_search_text CROSS JOIN note_search_key ON note_search_key.key = note_search_text.rowid\n"
    "CROSS JOIN note ON note.id = note_search_key.note_id WHERE note_search_text MATCH ?3 AND ";

// A trigram index over the search columns, kept in step by triggers. It lives beside the versioned schema: a
// database without it, with only part of it, or with an older design of it gets it whole at open. Its rows
// are keyed through note_search_key by note id, because the note table's implicit rowids are not stable
// (VACUUM may renumber them). It keeps its own copy of the text, so removing an entry never depends on the
// note row. Its names differ from the earlier design's, so that an app still holding that design finds its
// own index missing and builds it, rather than reading these keys as note rowids.
struct SearchIndexObject {
    const char* name;
    const char* sql;
};

constexpr SearchIndexObject searchIndexObjects[] = {
    {"note_search_key",
     "CREATE TABLE note_search_key (key INTEGER PRIMARY KEY, note_id TEXT NOT NULL UNIQUE)"},
    {"note_search_text", "CREATE VIRTUAL TABLE note_search_text USING fts5(search_title, search_body, "
                         "tokenize='trigram case_sensitive 1')"},
    // Entries already held for the id are removed first: an INSERT OR REPLACE removes the note it replaces
    // without firing the delete trigger.
    {"note_search_text_insert",
     "CREATE TRIGGER note_search_text_insert AFTER INSERT ON note BEGIN\n"
     "    DELETE FROM note_search_text\n"
     "    WHERE rowid = (SELECT key FROM note_search_key WHERE note_id = new.id);\n"
     "    DELETE FROM note_search_key WHERE note_id = new.id;\n"
     "    INSERT INTO note_search_key (note_id) VALUES (new.id);\n"
     "    INSERT INTO note_search_text (rowid, search_title, search_body)\n"
     "    SELECT key, new.search_title, new.search_body FROM note_search_key WHERE note_id = new.id;\nEND"},
    {"note_search_text_delete",
     "CREATE TRIGGER note_search_text_delete AFTER DELETE ON note BEGIN\n"
     "    DELETE FROM note_search_text\n"
     "    WHERE rowid = (SELECT key FROM note_search_key WHERE note_id = old.id);\n"
     "    DELETE FROM note_search_key WHERE note_id = old.id;\nEND"},
    // A changed id may land on the id of a note that an UPDATE OR REPLACE just removed; its entries go too.
    {"note_search_text_update",
     "CREATE TRIGGER note_search_text_update AFTER UPDATE OF id, search_title, search_body ON note BEGIN\n"
     "    DELETE FROM note_search_text\n"
     "    WHERE rowid = (SELECT key FROM note_search_key WHERE note_id = old.id);\n"
     "    DELETE FROM note_search_text\n"
     "    WHERE rowid = (SELECT key FROM note_search_key WHERE note_id = new.id);\n"
     "    DELETE FROM note_search_key WHERE note_id IN (old.id, new.id);\n"
     "    INSERT INTO note_search_key (note_id) VALUES (new.id);\n"
     "    INSERT INTO note_search_text (rowid, search_title, search_body)\n"
     "    SELECT key, new.search_title, new.search_body FROM note_search_key WHERE note_id = new.id;\nEND"}};

constexpr const char* fillSearchIndex[] = {
    "INSERT INTO note_search_key (note_id) SELECT id FROM note",
    "INSERT INTO note_search_text (rowid, search_title, search_body)\n"
    "SELECT k.key, n.search_title, n.search_body FROM note_search_key k JOIN note n ON n.id = k.note_id"};

// Every index object of this design and of the earlier one, which was keyed on the note table's rowids.
constexpr const char* dropSearchIndexTriggers[] = {
    "DROP TRIGGER IF EXISTS note_search_text_insert", "DROP TRIGGER IF EXISTS note_search_text_delete",
    "DROP TRIGGER IF EXISTS note_search_text_update", "DROP TRIGGER IF EXISTS note_search_insert",
    "DROP TRIGGER IF EXISTS note_search_delete",      "DROP TRIGGER IF EXISTS note_search_update"};
constexpr const char* dropSearchIndexTables[] = {"DROP TABLE IF EXISTS note_search_text",
                                                 "DROP TABLE IF EXISTS note_search_key",
                                                 "DROP TABLE IF EXISTS note_search"};

constexpr char createNoteTable[] = "CREATE TABLE note (\n"
                                   "    id TEXT PRIMARY KEY NOT NULL,\n"
                                   "    markdown TEXT NOT NULL,\n"
                                   "    color TEXT NOT NULL,\n"
                                   "    frame_x REAL NOT NULL, frame_y REAL NOT NULL, frame_w REAL NOT NULL, "
                                   "frame_h REAL NOT NULL,\n"
                                   "    screen_id TEXT,\n"
                                   "    is_open INTEGER NOT NULL,\n"
                                   "    is_floating INTEGER NOT NULL,\n"
                                   "    is_collapsed INTEGER NOT NULL,\n"
                                   "    created_at REAL NOT NULL,\n"
                                   "    updated_at REAL NOT NULL,\n"
                                   "    rev INTEGER NOT NULL,\n"
                                   "    deleted_at REAL,\n"
                                   "    created_by TEXT NOT NULL,\n"
                                   "    batch_id TEXT\n"
                                   ")";

constexpr char createSnapshotTable[] = "CREATE TABLE note_snapshot (\n"
                                       "    note_id TEXT PRIMARY KEY NOT NULL,\n"
                                       "    markdown TEXT NOT NULL,\n"
                                       "    last_edited_by TEXT,\n"
                                       "    rev_after INTEGER NOT NULL\n"
                                       ")";

constexpr char removeOrphanSnapshots[] =
    "DELETE FROM note_snapshot WHERE note_id NOT IN (SELECT id FROM note)";

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
    const auto id = uuidFromText(row.text(0));
    if (!id)
        return std::nullopt;
    Note note;
    note.id = *id;
    note.markdown = row.text(1);
    note.color = stickyColorFromRawValue(row.text(2));
    note.frame = QRectF(row.real(3), row.real(4), row.real(5), row.real(6));
    note.screenID = row.optionalText(7);
    note.isOpen = row.boolean(8);
    note.isFloating = row.boolean(9);
    note.isCollapsed = row.boolean(10);
    note.createdAt = row.date(11);
    note.updatedAt = row.date(12);
    note.rev = row.integer(13);
    note.deletedAt = row.optionalDate(14);
    note.createdBy = row.optionalText(15).value_or(madeByUser);
    note.batchID = uuidFromText(row.text(16));
    if (const auto agent = row.optionalText(17))
        note.agentLabel = AgentLabel{*agent, agentActionFromRawValue(row.text(19))};
    note.deletedBy = row.optionalText(18);
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
    auto notes = readNotes(db, selectNote + "id = ?", {idText(id)});
    if (!notes)
        return notes.error();
    if (notes->isEmpty())
        return std::optional<Note>();
    return std::optional<Note>(notes->first());
}

QString searchTitle(const QString& markdown) {
    return PlainText::fold(PlainText::title(markdown));
}

QString searchBody(const QString& markdown) {
    return PlainText::fold(PlainText::plainLines(markdown).join(QLatin1Char('\n')));
}

StoreResult<int> readSchemaVersion(sqlite3* db) {
    int version = 0;
    auto result = Statement::run(db, "PRAGMA user_version", {},
                                 [&](const Statement::Row& row) { version = int(row.integer(0)); });
    if (!result)
        return result.error();
    return version;
}

StoreResult<void> fillSearchColumns(sqlite3* db) {
    QList<std::pair<QString, QString>> rows;
    auto read = Statement::run(db, "SELECT id, markdown FROM note", {}, [&](const Statement::Row& row) {
        rows.append({row.text(0), row.text(1)});
    });
    if (!read)
        return read;
    for (const auto& [id, markdown] : rows) {
        auto written = Statement::run(db, "UPDATE note SET search_title = ?, search_body = ? WHERE id = ?",
                                      {searchTitle(markdown), searchBody(markdown), id});
        if (!written)
            return written;
    }
    return {};
}

// The statements of every version step above `from`, inside the caller's transaction.
StoreResult<void> migrationSteps(sqlite3* db, int from) {
    const auto run = [db](QByteArrayView sql) { return Statement::run(db, sql); };
    if (from <= 0) {
        for (const char* sql : {createNoteTable, "CREATE INDEX note_deleted_at ON note (deleted_at)"}) {
            if (auto result = run(sql); !result)
                return result;
        }
    }
    if (from < 2) {
        for (const char* sql : {"ALTER TABLE note ADD COLUMN last_edited_by TEXT", createSnapshotTable}) {
            if (auto result = run(sql); !result)
                return result;
        }
    }
    if (from < 3) {
        for (const char* sql : {"ALTER TABLE note ADD COLUMN search_title TEXT NOT NULL DEFAULT ''",
                                "ALTER TABLE note ADD COLUMN search_body TEXT NOT NULL DEFAULT ''",
                                "ALTER TABLE note ADD COLUMN deleted_by TEXT"}) {
            if (auto result = run(sql); !result)
                return result;
        }
        if (auto result = fillSearchColumns(db); !result)
            return result;
    }
    if (from < 4) {
        for (const char* sql :
             {"ALTER TABLE note ADD COLUMN last_agent_action TEXT",
              "ALTER TABLE note_snapshot ADD COLUMN last_agent_action TEXT",
              "UPDATE note SET last_agent_action = CASE WHEN rev = 1 AND created_by = last_edited_by THEN "
              "'added' "
              "ELSE 'edited' END\nWHERE last_edited_by IS NOT NULL",
              "UPDATE note_snapshot SET last_agent_action = 'edited' WHERE last_edited_by IS NOT NULL"}) {
            if (auto result = run(sql); !result)
                return result;
        }
    }
    return run(QByteArray("PRAGMA user_version = ") + QByteArray::number(currentSchemaVersion));
}

// Runs `work` inside BEGIN IMMEDIATE … COMMIT; any failure rolls everything back and is returned.
template <typename T, typename Work> StoreResult<T> inTransaction(sqlite3* db, Work work) {
    if (auto begin = Statement::run(db, "BEGIN IMMEDIATE"); !begin)
        return begin.error();
    StoreResult<T> result = work();
    if (result) {
        auto commit = Statement::run(db, "COMMIT");
        if (commit)
            return result;
        result = commit.error();
    }
    // The first error is the one worth reporting; a failed rollback adds nothing to it.
    (void)Statement::run(db, "ROLLBACK");
    return result;
}

template <typename Statements> StoreResult<void> runEach(sqlite3* db, const Statements& statements) {
    for (const char* sql : statements) {
        if (auto result = Statement::run(db, sql); !result)
            return result;
    }
    return {};
}

StoreResult<void> refuseReadOnly(sqlite3* db, const QString& filePath) {
    // SQLite quietly falls back to read-only on a write-protected file; every later save would then fail.
    if (sqlite3_db_readonly(db, "main") == 1)
        return StoreError{QStringLiteral("open ") + filePath + QStringLiteral(": ") +
                          QString::fromUtf8(sqlite3_errstr(SQLITE_READONLY))};
    return {};
}

} // namespace

NoteStore::NoteStore(sqlite3* db, QString filePath) : m_db(db), m_filePath(std::move(filePath)) {}

NoteStore::~NoteStore() {
    sqlite3_close_v2(m_db);
}

StoreResult<std::unique_ptr<NoteStore>> NoteStore::open(const QString& filePath) {
    sqlite3* db = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(filePath).constData(), &db,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (code != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close_v2(db);
        return StoreError{QStringLiteral("open ") + filePath + QStringLiteral(": ") + message};
    }
    std::unique_ptr<NoteStore> store(new NoteStore(db, filePath));
    sqlite3_busy_timeout(db, 2000);
    if (auto writable = refuseReadOnly(db, filePath); !writable)
        return writable.error();

    // The version is checked before switching to WAL: turning on WAL rewrites the file header, and a
    // database from a newer app must stay exactly as it is.
    const auto version = readSchemaVersion(db);
    if (!version)
        return version.error();
    if (*version > currentSchemaVersion)
        return StoreError{QStringLiteral("database schema %1 is newer than this app (%2)")
                              .arg(*version)
                              .arg(currentSchemaVersion)};
    if (auto wal = Statement::run(db, "PRAGMA journal_mode = WAL"); !wal)
        return wal.error();
    if (auto migrated = store->migrate(*version); !migrated)
        return migrated.error();
    // Short queries scan every note; mapping the file spares a read call per page.
    if (auto mapped = Statement::run(db, "PRAGMA mmap_size = 268435456"); !mapped)
        return mapped.error();
    auto indexed = store->ensureSearchIndex();
    if (!indexed)
        return indexed.error();
    store->m_hasSearchIndex = *indexed;
    return store;
}

StoreResult<std::unique_ptr<NoteStore>> NoteStore::openInDataDirectory() {
    const auto path = Bridge::dataFile(QString::fromLatin1(Bridge::databaseFileName));
    if (!path)
        return StoreError{QStringLiteral("data directory unavailable")};
    return open(*path);
}

StoreResult<void> NoteStore::migrate(int version) {
    if (version == currentSchemaVersion)
        return {};
    auto migrated = inTransaction<void>(m_db, [&] { return migrationSteps(m_db, version); });
    if (migrated && version <= 0)
        m_isNew = true;
    return migrated;
}

StoreResult<bool> NoteStore::ensureSearchIndex() {
    QHash<QString, QString> found;
    auto read =
        Statement::run(m_db,
                       "SELECT name, sql FROM sqlite_master WHERE name IN ('note_search_key', "
                       "'note_search_text', 'note_search_text_insert', 'note_search_text_delete', "
                       "'note_search_text_update', 'note_search', 'note_search_insert', "
                       "'note_search_delete', 'note_search_update')",
                       {}, [&](const Statement::Row& row) { found.insert(row.text(0), row.text(1)); });
    if (!read)
        return read.error();
    const bool current =
        found.size() == qsizetype(std::size(searchIndexObjects)) &&
        std::all_of(std::begin(searchIndexObjects), std::end(searchIndexObjects),
                    [&](const SearchIndexObject& object) {
                        return found.value(QLatin1String(object.name)) == QLatin1String(object.sql);
                    });
    if (current)
        return true;
    // Anything else is rebuilt from scratch: triggers left without their table would break every write, a
    // table left without its triggers would answer from stale text, and the earlier rowid-keyed index loses
    // notes once rowids move.
    auto created = inTransaction<void>(m_db, [&]() -> StoreResult<void> {
        if (auto dropped = runEach(m_db, dropSearchIndexTriggers); !dropped)
            return dropped;
        if (auto dropped = runEach(m_db, dropSearchIndexTables); !dropped)
            return dropped;
        for (const SearchIndexObject& object : searchIndexObjects) {
            if (auto result = Statement::run(m_db, object.sql); !result)
                return result;
        }
        return runEach(m_db, fillSearchIndex);
    });
    if (created)
        return true;
    // Without FTS5 in this SQLite, search still answers by scanning. Index triggers left behind would slow
    // every write down or, without their table, fail it; the tables that may remain are never read.
    logStoreError(created.error());
    if (auto dropped = inTransaction<void>(m_db, [&] { return runEach(m_db, dropSearchIndexTriggers); });
        !dropped)
        logStoreError(dropped.error());
    return false;
}

StoreResult<QList<Note>> NoteStore::list(Scope scope, std::optional<int> limit) {
    QByteArray sql = selectNote;
    switch (scope) {
    case Scope::active:
        sql += "deleted_at IS NULL ORDER BY updated_at DESC";
        break;
    case Scope::open:
        sql += "deleted_at IS NULL AND is_open = 1 ORDER BY updated_at ASC";
        break;
    case Scope::recentlyDeleted:
        sql += "deleted_at IS NOT NULL ORDER BY deleted_at DESC";
        break;
    }
    if (limit)
        sql += " LIMIT " + QByteArray::number(std::max(*limit, 0));
    return readNotes(m_db, sql);
}

StoreResult<std::optional<Note>> NoteStore::note(const QUuid& id) {
    return readNote(m_db, id);
}

StoreResult<NoteStore::SearchResult> NoteStore::search(const QString& query, int limit) {
    const QString folded = PlainText::fold(query.trimmed());
    // The trigram index only knows substrings of three or more characters; shorter queries scan.
    const bool indexed = m_hasSearchIndex && folded.toUcs4().size() >= 3;
    const QByteArray source = indexed ? QByteArray(searchIndexSource) : QByteArray("note WHERE ");
    const QString phrase =
        QLatin1Char('"') + QString(folded).replace('"', QStringLiteral("\"\"")) + QLatin1Char('"');
    SearchResult result;
    auto counted =
        Statement::run(m_db, "SELECT count(*) FROM " + source + searchCondition, {folded, limit, phrase},
                       [&](const Statement::Row& row) { result.total = int(row.integer(0)); });
    if (!counted)
        return counted.error();
    auto notes =
        readNotes(m_db,
                  "SELECT " NOTE_COLUMNS " FROM " + source + searchCondition +
                      "\nORDER BY instr(note.search_title, ?1) > 0 DESC, note.updated_at DESC LIMIT ?2",
                  {folded, limit, phrase});
    if (!notes)
        return notes.error();
    result.notes = std::move(*notes);
    return result;
}

StoreResult<QList<Note>> NoteStore::create(const QList<NewNote>& notes, const QString& createdBy,
                                           const std::optional<QUuid>& batchID, const QDateTime& time) {
    const std::optional<QString> lastEditedBy =
        createdBy == madeByUser ? std::nullopt : std::optional<QString>(createdBy);
    const std::optional<QString> action =
        lastEditedBy ? std::optional<QString>(rawValue(AgentLabel::Action::added)) : std::nullopt;
    const std::optional<QString> batch = batchID ? std::optional<QString>(idText(*batchID)) : std::nullopt;
    return inTransaction<QList<Note>>(m_db, [&]() -> StoreResult<QList<Note>> {
        QList<Note> created;
        for (qsizetype i = 0; i < notes.size(); ++i) {
            const NewNote& note = notes.at(i);
            // A millisecond apart, so that the notes of a batch keep their order by updated_at.
            const QDateTime noteTime = time.addMSecs(i);
            const QUuid id = QUuid::createUuid();
            auto inserted = Statement::run(
                m_db,
                "INSERT INTO note (id, markdown, color, frame_x, frame_y, frame_w, frame_h, screen_id, "
                "is_open, "
                "is_floating,\n                  is_collapsed, created_at, updated_at, rev, deleted_at, "
                "created_by, "
                "batch_id, last_edited_by,\n                  last_agent_action, search_title, search_body)\n"
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 1, 0, 0, ?, ?, 1, NULL, ?, ?, ?, ?, ?, ?)",
                {idText(id), note.markdown, rawValue(note.color), note.frame.x(), note.frame.y(),
                 note.frame.width(), note.frame.height(), note.screenID, noteTime, noteTime, createdBy, batch,
                 lastEditedBy, action, searchTitle(note.markdown), searchBody(note.markdown)});
            if (!inserted)
                return inserted.error();
            auto stored = readNote(m_db, id);
            if (!stored)
                return stored.error();
            if (!*stored)
                return StoreError{QStringLiteral("note ") + idText(id) +
                                  QStringLiteral(" vanished after insert")};
            created.append(**stored);
        }
        return created;
    });
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
                                  "UPDATE note SET markdown = ?, rev = rev + 1, updated_at = ?, "
                                  "last_edited_by = ?, last_agent_action = ?,\n"
                                  "                search_title = ?, search_body = ?\nWHERE id = ? AND "
                                  "deleted_at IS NULL AND markdown <> ?",
                                  {markdown, time, editor, actionText, searchTitle(markdown),
                                   searchBody(markdown), idText(id), markdown});
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
    return Statement::run(m_db,
                          "UPDATE note SET color = ?, frame_x = ?, frame_y = ?, frame_w = ?, frame_h = ?, "
                          "screen_id = ?,\n                is_floating = ?, is_collapsed = ?\nWHERE id = ?",
                          {rawValue(state.color), state.frame.x(), state.frame.y(), state.frame.width(),
                           state.frame.height(), state.screenID, state.isFloating, state.isCollapsed,
                           idText(id)});
}

StoreResult<bool> NoteStore::close(const QUuid& id) {
    const auto current = readNote(m_db, id);
    if (!current)
        return current.error();
    if (*current && QString((*current)->markdown).remove(QStringLiteral("<br />")).trimmed().isEmpty()) {
        auto deleted = Statement::run(m_db, "DELETE FROM note WHERE id = ?", {idText(id)});
        if (!deleted)
            return deleted.error();
        return true;
    }
    auto closed = Statement::run(m_db, "UPDATE note SET is_open = 0 WHERE id = ?", {idText(id)});
    if (!closed)
        return closed.error();
    return false;
}

StoreResult<void> NoteStore::moveToRecentlyDeleted(const QUuid& id, const QDateTime& time,
                                                   const std::optional<QString>& deletedBy) {
    return Statement::run(
        m_db, "UPDATE note SET deleted_at = ?, deleted_by = ? WHERE id = ? AND deleted_at IS NULL",
        {time, deletedBy, idText(id)});
}

StoreResult<void> NoteStore::deleteForGood(const QList<QUuid>& ids) {
    for (const QUuid& id : ids) {
        auto deleted =
            Statement::run(m_db, "DELETE FROM note WHERE id = ? AND deleted_at IS NOT NULL", {idText(id)});
        if (!deleted)
            return deleted;
    }
    return Statement::run(m_db, removeOrphanSnapshots);
}

StoreResult<void> NoteStore::restore(const QUuid& id) {
    return Statement::run(m_db, "UPDATE note SET deleted_at = NULL, deleted_by = NULL WHERE id = ?",
                          {idText(id)});
}

StoreResult<void> NoteStore::restoreAndOpen(const QUuid& id) {
    return Statement::run(
        m_db, "UPDATE note SET deleted_at = NULL, deleted_by = NULL, is_open = 1 WHERE id = ?", {idText(id)});
}

StoreResult<void> NoteStore::reopen(const QUuid& id) {
    return Statement::run(m_db, "UPDATE note SET is_open = 1 WHERE id = ? AND deleted_at IS NULL",
                          {idText(id)});
}

StoreResult<int> NoteStore::purgeExpired(const QDateTime& now) {
    const double cutoff = Statement::secondsSince1970(now) - purgeAgeSeconds;
    auto purged =
        Statement::run(m_db, "DELETE FROM note WHERE deleted_at IS NOT NULL AND deleted_at < ?", {cutoff});
    if (!purged)
        return purged.error();
    const int count = sqlite3_changes(m_db);
    if (auto cleaned = Statement::run(m_db, removeOrphanSnapshots); !cleaned)
        return cleaned.error();
    return count;
}

StoreResult<void> NoteStore::saveSnapshot(const Note& before, qint64 revAfter, bool join) {
    std::optional<qint64> storedRevAfter;
    auto read =
        Statement::run(m_db, "SELECT rev_after FROM note_snapshot WHERE note_id = ?", {before.idText()},
                       [&](const Statement::Row& row) { storedRevAfter = row.integer(0); });
    if (!read)
        return read;
    const bool continues = storedRevAfter && *storedRevAfter == before.rev;
    if (join && continues)
        return Statement::run(m_db, "UPDATE note_snapshot SET rev_after = ? WHERE note_id = ?",
                              {revAfter, before.idText()});
    const auto& label = before.agentLabel;
    return Statement::run(m_db,
                          "INSERT OR REPLACE INTO note_snapshot (note_id, markdown, last_edited_by, "
                          "last_agent_action, rev_after)\nVALUES (?, ?, ?, ?, ?)",
                          {before.idText(), before.markdown,
                           label ? std::optional<QString>(label->agent) : std::nullopt,
                           label ? std::optional<QString>(rawValue(label->action)) : std::nullopt, revAfter});
}

StoreResult<std::optional<NoteStore::Snapshot>> NoteStore::snapshot(const QUuid& id) {
    std::optional<Snapshot> found;
    auto read =
        Statement::run(m_db,
                       "SELECT s.markdown, s.last_edited_by, s.last_agent_action, n.rev FROM note_snapshot s "
                       "JOIN note n ON n.id = "
                       "s.note_id\nWHERE s.note_id = ? AND n.rev = s.rev_after AND n.deleted_at IS NULL",
                       {idText(id)}, [&](const Statement::Row& row) {
                           Snapshot snapshot;
                           snapshot.markdown = row.text(0);
                           if (const auto agent = row.optionalText(1))
                               snapshot.label = AgentLabel{*agent, agentActionFromRawValue(row.text(2))};
                           snapshot.rev = row.integer(3);
                           found = snapshot;
                       });
    if (!read)
        return read.error();
    return found;
}

} // namespace Dovrin::Store
