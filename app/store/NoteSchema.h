#pragma once

#include "app/store/StoreError.h"

#include <QString>

struct sqlite3;

// The tables and the steps that bring a file of any earlier version to the current one.
namespace Dovrin::Store::NoteSchema {

inline constexpr int currentVersion = 4;

// The file's PRAGMA user_version; 0 for a new file.
StoreResult<int> version(sqlite3* db);
// Brings a database at `version` (at most the current one) to the current schema, all or nothing.
StoreResult<void> migrate(sqlite3* db, int version);
// Removes the search index tables and triggers of earlier versions; a failure is logged and changes nothing.
void dropEarlierSearchIndexes(sqlite3* db);

// What the search_title and search_body columns hold for a note's Markdown.
QString searchTitle(const QString& markdown);
QString searchBody(const QString& markdown);

} // namespace Dovrin::Store::NoteSchema
