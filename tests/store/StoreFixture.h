#pragma once

#include "app/store/NoteStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

// Helpers that reach the database file directly, the way an older app version or another process would.
namespace StoreFixture {

// Opens the store at `path` and fails the current test when it cannot.
std::unique_ptr<Dovrin::Store::NoteStore> openStore(const QString& path);

// A new blue note with a frame and a screen id.
Dovrin::Store::NoteStore::NewNote newNote(const QString& markdown);

// Runs `sql` on its own connection; returns SQLite's error message, or "" on success.
QString execute(const QString& path, const QString& sql);

// The first column of every row `sql` returns, as text (NULL as "<null>").
QStringList column(const QString& path, const QString& sql);

// A database built with the statements the app used at `version` (1, 2 or 3), with no rows.
void createHistoricalDatabase(const QString& path, int version);

QByteArray fileBytes(const QString& path);

// The answer of the plain instr() scan for `query`, read on its own connection: the total, then the ids in
// order.
QStringList scannedSearch(const QString& path, const QString& query, int limit);

// The store's answer for `query`, in the form scannedSearch gives.
QStringList storeSearch(Dovrin::Store::NoteStore& store, const QString& query, int limit);

// Queries that together touch title hits, body hits, folding, short queries and misses.
const QStringList& sampleQueries();

// The error of a failed result for a test message, "" for a successful one.
template <typename R> QByteArray why(const R& result) {
    return result ? QByteArray() : result.error().description.toUtf8();
}

} // namespace StoreFixture
