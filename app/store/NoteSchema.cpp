#include "app/store/NoteSchema.h"

#include "app/core/Log.h"
#include "app/store/PlainText.h"
#include "app/store/Statement.h"

#include <QHash>
#include <QList>

#include <algorithm>
#include <iterator>
#include <utility>

namespace Dovrin::Store::NoteSchema {

namespace {

// sqlite_master keeps each CREATE text below as written, and files of every earlier version hold them: their
// layout stays byte for byte.

constexpr char createNoteTable[] = R"sql(CREATE TABLE note (
    id TEXT PRIMARY KEY NOT NULL,
    markdown TEXT NOT NULL,
    color TEXT NOT NULL,
    frame_x REAL NOT NULL, frame_y REAL NOT NULL, frame_w REAL NOT NULL, frame_h REAL NOT NULL,
    screen_id TEXT,
    is_open INTEGER NOT NULL,
    is_floating INTEGER NOT NULL,
    is_collapsed INTEGER NOT NULL,
    created_at REAL NOT NULL,
    updated_at REAL NOT NULL,
    rev INTEGER NOT NULL,
    deleted_at REAL,
    created_by TEXT NOT NULL,
    batch_id TEXT
))sql";

constexpr char createSnapshotTable[] = R"sql(CREATE TABLE note_snapshot (
    note_id TEXT PRIMARY KEY NOT NULL,
    markdown TEXT NOT NULL,
    last_edited_by TEXT,
    rev_after INTEGER NOT NULL
))sql";

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

// Opening compares these texts with the stored ones, which SQLite keeps from CREATE on: a changed byte, or
// anything before CREATE, rebuilds the index of every file.
constexpr SearchIndexObject searchIndexObjects[] = {
    {"note_search_key",
     R"sql(CREATE TABLE note_search_key (key INTEGER PRIMARY KEY, note_id TEXT NOT NULL UNIQUE))sql"},
    {"note_search_text",
     R"sql(CREATE VIRTUAL TABLE note_search_text USING fts5(search_title, search_body, tokenize='trigram case_sensitive 1'))sql"},
    // Entries already held for the id are removed first: an INSERT OR REPLACE removes the note it replaces
    // without firing the delete trigger.
    {"note_search_text_insert", R"sql(CREATE TRIGGER note_search_text_insert AFTER INSERT ON note BEGIN
    DELETE FROM note_search_text
    WHERE rowid = (SELECT key FROM note_search_key WHERE note_id = new.id);
    DELETE FROM note_search_key WHERE note_id = new.id;
    INSERT INTO note_search_key (note_id) VALUES (new.id);
    INSERT INTO note_search_text (rowid, search_title, search_body)
    SELECT key, new.search_title, new.search_body FROM note_search_key WHERE note_id = new.id;
END)sql"},
    {"note_search_text_delete", R"sql(CREATE TRIGGER note_search_text_delete AFTER DELETE ON note BEGIN
    DELETE FROM note_search_text
    WHERE rowid = (SELECT key FROM note_search_key WHERE note_id = old.id);
    DELETE FROM note_search_key WHERE note_id = old.id;
END)sql"},
    // A changed id may land on the id of a note that an UPDATE OR REPLACE just removed; its entries go too.
    {"note_search_text_update",
     R"sql(CREATE TRIGGER note_search_text_update AFTER UPDATE OF id, search_title, search_body ON note BEGIN
    DELETE FROM note_search_text
    WHERE rowid = (SELECT key FROM note_search_key WHERE note_id = old.id);
    DELETE FROM note_search_text
    WHERE rowid = (SELECT key FROM note_search_key WHERE note_id = new.id);
    DELETE FROM note_search_key WHERE note_id IN (old.id, new.id);
    INSERT INTO note_search_key (note_id) VALUES (new.id);
    INSERT INTO note_search_text (rowid, search_title, search_body)
    SELECT key, new.search_title, new.search_body FROM note_search_key WHERE note_id = new.id;
END)sql"}};

// Error descriptions quote a statement's first 60 characters, so those keep their layout; the rest reads one
// clause per line.

constexpr const char* fillSearchIndex[] = {
    R"sql(INSERT INTO note_search_key (note_id) SELECT id FROM note)sql",
    R"sql(INSERT INTO note_search_text (rowid, search_title, search_body)
SELECT k.key, n.search_title, n.search_body
FROM note_search_key k
JOIN note n ON n.id = k.note_id)sql"};

// Every index object of this design and of the earlier one, which was keyed on the note table's rowids.
constexpr const char* dropSearchIndexTriggers[] = {R"sql(DROP TRIGGER IF EXISTS note_search_text_insert)sql",
                                                   R"sql(DROP TRIGGER IF EXISTS note_search_text_delete)sql",
                                                   R"sql(DROP TRIGGER IF EXISTS note_search_text_update)sql",
                                                   R"sql(DROP TRIGGER IF EXISTS note_search_insert)sql",
                                                   R"sql(DROP TRIGGER IF EXISTS note_search_delete)sql",
                                                   R"sql(DROP TRIGGER IF EXISTS note_search_update)sql"};
constexpr const char* dropSearchIndexTables[] = {R"sql(DROP TABLE IF EXISTS note_search_text)sql",
                                                 R"sql(DROP TABLE IF EXISTS note_search_key)sql",
                                                 R"sql(DROP TABLE IF EXISTS note_search)sql"};

constexpr char readSearchIndexObjects[] =
    R"sql(SELECT name, sql FROM sqlite_master WHERE name IN ('note_search_key', 'note_search_text',
    'note_search_text_insert', 'note_search_text_delete', 'note_search_text_update',
    'note_search', 'note_search_insert', 'note_search_delete', 'note_search_update'))sql";

template <typename Statements> StoreResult<void> runEach(sqlite3* db, const Statements& statements) {
    for (const char* sql : statements) {
        if (auto result = Statement::run(db, sql); !result)
            return result;
    }
    return {};
}

StoreResult<void> fillSearchColumns(sqlite3* db) {
    QList<std::pair<QString, QString>> rows;
    auto read =
        Statement::run(db, R"sql(SELECT id, markdown FROM note)sql", {}, [&](const Statement::Row& row) {
            rows.append({row.text(0), row.text(1)});
        });
    if (!read)
        return read;
    for (const auto& [id, markdown] : rows) {
        auto written =
            Statement::run(db, R"sql(UPDATE note SET search_title = ?, search_body = ? WHERE id = ?)sql",
                           {searchTitle(markdown), searchBody(markdown), id});
        if (!written)
            return written;
    }
    return {};
}

// The statements of every version step above `from`, inside the caller's transaction.
StoreResult<void> migrationSteps(sqlite3* db, int from) {
    if (from <= 0) {
        const char* const steps[] = {createNoteTable,
                                     R"sql(CREATE INDEX note_deleted_at ON note (deleted_at))sql"};
        if (auto result = runEach(db, steps); !result)
            return result;
    }
    if (from < 2) {
        // ALTER TABLE appends the column's text to the stored CREATE TABLE as written.
        const char* const steps[] = {R"sql(ALTER TABLE note ADD COLUMN last_edited_by TEXT)sql",
                                     createSnapshotTable};
        if (auto result = runEach(db, steps); !result)
            return result;
    }
    if (from < 3) {
        const char* const steps[] = {
            R"sql(ALTER TABLE note ADD COLUMN search_title TEXT NOT NULL DEFAULT '')sql",
            R"sql(ALTER TABLE note ADD COLUMN search_body TEXT NOT NULL DEFAULT '')sql",
            R"sql(ALTER TABLE note ADD COLUMN deleted_by TEXT)sql"};
        if (auto result = runEach(db, steps); !result)
            return result;
        if (auto result = fillSearchColumns(db); !result)
            return result;
    }
    if (from < 4) {
        const char* const steps[] = {
            R"sql(ALTER TABLE note ADD COLUMN last_agent_action TEXT)sql",
            R"sql(ALTER TABLE note_snapshot ADD COLUMN last_agent_action TEXT)sql",
            R"sql(UPDATE note SET last_agent_action = CASE WHEN rev = 1 AND created_by = last_edited_by
    THEN 'added'
    ELSE 'edited' END
WHERE last_edited_by IS NOT NULL)sql",
            R"sql(UPDATE note_snapshot SET last_agent_action = 'edited' WHERE last_edited_by IS NOT NULL)sql"};
        if (auto result = runEach(db, steps); !result)
            return result;
    }
    return Statement::run(db, R"sql(PRAGMA user_version = )sql" + QByteArray::number(currentVersion));
}

} // namespace

StoreResult<int> version(sqlite3* db) {
    int version = 0;
    auto result = Statement::run(db, R"sql(PRAGMA user_version)sql", {},
                                 [&](const Statement::Row& row) { version = int(row.integer(0)); });
    if (!result)
        return result.error();
    return version;
}

StoreResult<void> migrate(sqlite3* db, int version) {
    if (version == currentVersion)
        return {};
    return inTransaction<void>(db, [&] { return migrationSteps(db, version); });
}

StoreResult<bool> ensureSearchIndex(sqlite3* db) {
    QHash<QString, QString> found;
    auto read = Statement::run(db, readSearchIndexObjects, {},
                               [&](const Statement::Row& row) { found.insert(row.text(0), row.text(1)); });
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
    auto created = inTransaction<void>(db, [&]() -> StoreResult<void> {
        if (auto dropped = runEach(db, dropSearchIndexTriggers); !dropped)
            return dropped;
        if (auto dropped = runEach(db, dropSearchIndexTables); !dropped)
            return dropped;
        for (const SearchIndexObject& object : searchIndexObjects) {
            if (auto result = Statement::run(db, object.sql); !result)
                return result;
        }
        return runEach(db, fillSearchIndex);
    });
    if (created)
        return true;
    // Without FTS5 in this SQLite, search still answers by scanning. Index triggers left behind would slow
    // every write down or, without their table, fail it; the tables that may remain are never read.
    logStoreError(created.error());
    if (auto dropped = inTransaction<void>(db, [&] { return runEach(db, dropSearchIndexTriggers); });
        !dropped)
        logStoreError(dropped.error());
    return false;
}

QString searchTitle(const QString& markdown) {
    return PlainText::fold(PlainText::title(markdown));
}

QString searchBody(const QString& markdown) {
    return PlainText::fold(PlainText::plainLines(markdown).join(QLatin1Char('\n')));
}

} // namespace Dovrin::Store::NoteSchema
