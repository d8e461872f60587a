#pragma once

#include "app/store/StoreError.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

struct sqlite3;

namespace Dovrin::Store {

// The search columns of every note outside Recently Deleted, held in memory newest first. A query then reads
// no page of the file, and counting every hit of a broad query costs little more than finding its first
// ones. The texts are the stored columns' bytes, so a note matches exactly when instr() would match it.
class SearchIndex final {
public:
    struct Hits {
        QList<QString> ids;
        int total = 0;
    };

    // Notes whose title or body contains `folded`: title hits first, each group newest first; at most `limit`
    // ids (a negative limit means all) and the count of every hit. Catches up first with whatever changed
    // the file since the index last read it.
    StoreResult<Hits> find(sqlite3* db, const QString& folded, int limit);

    // Called after every write of this connection, with the notes it may have changed: their entries are
    // read again. Until then, a search reads the whole index again rather than answer from a stale one.
    void noteWritten(sqlite3* db, const QList<QString>& ids);

private:
    // Which bytes and 3-byte sequences a text holds, as bits of a small hash set: a query whose bytes and
    // sequences are not all there cannot occur in the text, so most notes are passed over unread.
    using Trigrams = std::array<std::uint64_t, 32>;

    struct Entry {
        qint64 rowid = 0;
        QString id;
        double updatedAt = 0;
        QByteArray title;
        QByteArray body;
        Trigrams trigrams{};
    };

    StoreResult<void> catchUp(sqlite3* db);
    StoreResult<void> load(sqlite3* db);
    StoreResult<void> refresh(sqlite3* db, const QString& id);
    static bool comesBefore(const Entry& a, const Entry& b);
    static void addTrigrams(Trigrams& set, const QByteArray& text);

    std::vector<Entry> m_entries;
    bool m_loaded = false;
    // What the file looked like when the index last read it: another connection's commits move
    // data_version, this connection's own writes move total_changes.
    qint64 m_dataVersion = -1;
    qint64 m_totalChanges = -1;
};

} // namespace Dovrin::Store
