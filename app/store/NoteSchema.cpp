#include "app/store/NoteSchema.h"

#include "app/core/Log.h"
#include "app/store/PlainText.h"
#include "app/store/Statement.h"

#include <QList>

#include <span>
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

// Search indexes that earlier versions kept inside the file; search now keeps its own in memory. Their
// triggers would slow every write down, or fail it once their table is gone.
constexpr const char* dropSearchIndexTriggers[] = {R"sql(DROP TRIGGER IF EXISTS note_search_text_insert)sql",
                                                   R"sql(DROP TRIGGER IF EXISTS note_search_text_delete)sql",
                                                   R"sql(DROP TRIGGER IF EXISTS note_search_text_update)sql",
                                                   R"sql(DROP TRIGGER IF EXISTS note_search_insert)sql",
                                                   R"sql(DROP TRIGGER IF EXISTS note_search_delete)sql",
                                                   R"sql(DROP TRIGGER IF EXISTS note_search_update)sql"};
constexpr const char* dropSearchIndexTables[] = {R"sql(DROP TABLE IF EXISTS note_search_text)sql",
                                                 R"sql(DROP TABLE IF EXISTS note_search_key)sql",
                                                 R"sql(DROP TABLE IF EXISTS note_search)sql"};

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

void dropEarlierSearchIndexes(sqlite3* db) {
    // The triggers go first and on their own: tables that cannot be dropped (a view of the same name, a
    // SQLite without FTS5) are merely never read again.
    for (const auto& statements : {std::span<const char* const>(dropSearchIndexTriggers),
                                   std::span<const char* const>(dropSearchIndexTables)}) {
        if (auto dropped = inTransaction<void>(db, [&] { return runEach(db, statements); }); !dropped)
            logStoreError(dropped.error());
    }
}

QString searchTitle(const QString& markdown) {
    return PlainText::fold(PlainText::title(markdown));
}

QString searchBody(const QString& markdown) {
    return PlainText::fold(PlainText::plainLines(markdown).join(QLatin1Char('\n')));
}

} // namespace Dovrin::Store::NoteSchema
