#include "app/store/SearchIndex.h"

#include "app/store/Statement.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>

#include <sqlite3.h>

namespace Dovrin::Store {

namespace {

constexpr int trigramBits = 11; // 2,048 bits, the size of SearchIndex::Trigrams

// Finds a query in many texts. It compares the stored UTF-8 bytes, as instr() does, so it finds a note
// exactly where instr() would; an empty query is found everywhere.
class Needle final {
public:
    explicit Needle(const QByteArray& bytes)
        : m_bytes(bytes), m_searcher(bytes.constBegin(), bytes.constEnd()) {}

    bool isIn(const QByteArray& text) const {
        if (m_bytes.size() <= 1)
            return m_bytes.isEmpty() || std::memchr(text.constData(), m_bytes.front(), size_t(text.size()));
        if (m_bytes.size() == 2)
            return memmem(text.constData(), size_t(text.size()), m_bytes.constData(), 2);
        return std::search(text.constBegin(), text.constEnd(), m_searcher) != text.constEnd();
    }

private:
    QByteArray m_bytes;
    // Built once per query: it skips ahead by up to the query's length at each step.
    std::boyer_moore_horspool_searcher<QByteArray::const_iterator> m_searcher;
};

StoreResult<qint64> dataVersion(sqlite3* db) {
    qint64 version = 0;
    auto read = Statement::run(db, R"sql(PRAGMA data_version)sql", {},
                               [&](const Statement::Row& row) { version = row.integer(0); });
    if (!read)
        return read.error();
    return version;
}

} // namespace

StoreResult<SearchIndex::Hits> SearchIndex::find(sqlite3* db, const QString& folded, int limit) {
    if (auto current = catchUp(db); !current)
        return current.error();
    // Statement binds text through the same conversion, so the bytes are those instr() compares.
    const QByteArray bytes = folded.toUtf8();
    const Needle needle(bytes);
    Trigrams wanted{};
    addTrigrams(wanted, bytes);
    QVarLengthArray<std::pair<int, std::uint64_t>, 32> wantedWords;
    for (int word = 0; word < int(wanted.size()); ++word) {
        if (wanted[word])
            wantedWords.append({word, wanted[word]});
    }
    const auto full = [limit](const QList<qsizetype>& hits) { return limit >= 0 && hits.size() >= limit; };
    QList<qsizetype> titleHits;
    QList<qsizetype> bodyHits;
    Hits hits;
    for (qsizetype i = 0; i < qsizetype(m_entries.size()); ++i) {
        const Entry& entry = m_entries[size_t(i)];
        const bool mayHold = std::all_of(wantedWords.begin(), wantedWords.end(), [&](const auto& word) {
            return (entry.trigrams[size_t(word.first)] & word.second) == word.second;
        });
        if (!mayHold)
            continue;
        if (needle.isIn(entry.title)) {
            ++hits.total;
            if (!full(titleHits))
                titleHits.append(i);
        } else if (needle.isIn(entry.body)) {
            ++hits.total;
            if (!full(bodyHits))
                bodyHits.append(i);
        }
    }
    for (const QList<qsizetype>* group : {&titleHits, &bodyHits}) {
        for (const qsizetype i : *group) {
            if (limit >= 0 && hits.ids.size() >= limit)
                break;
            hits.ids.append(m_entries[size_t(i)].id);
        }
    }
    return hits;
}

void SearchIndex::noteWritten(sqlite3* db, const QList<QString>& ids) {
    if (!m_loaded)
        return;
    for (const QString& id : ids) {
        if (!refresh(db, id)) {
            m_loaded = false;
            return;
        }
    }
    m_totalChanges = sqlite3_total_changes64(db);
}

StoreResult<void> SearchIndex::catchUp(sqlite3* db) {
    if (!m_loaded)
        return load(db);
    auto version = dataVersion(db);
    if (!version)
        return version.error();
    if (*version != m_dataVersion || sqlite3_total_changes64(db) != m_totalChanges)
        return load(db);
    return {};
}

StoreResult<void> SearchIndex::load(sqlite3* db) {
    m_loaded = false;
    // Read before the rows: a commit from elsewhere in between makes the next search read them again.
    auto version = dataVersion(db);
    if (!version)
        return version.error();
    std::vector<Entry> entries;
    auto read = Statement::run(
        db,
        R"sql(SELECT rowid, id, updated_at, search_title, search_body FROM note WHERE deleted_at IS NULL)sql",
        {}, [&](const Statement::Row& row) {
            Entry entry{row.integer(0), row.text(1), row.real(2), row.utf8(3), row.utf8(4), {}};
            addTrigrams(entry.trigrams, entry.title);
            addTrigrams(entry.trigrams, entry.body);
            entries.push_back(std::move(entry));
        });
    if (!read)
        return read.error();
    std::sort(entries.begin(), entries.end(), comesBefore);
    entries.shrink_to_fit();
    m_entries = std::move(entries);
    m_dataVersion = *version;
    m_totalChanges = sqlite3_total_changes64(db);
    m_loaded = true;
    return {};
}

StoreResult<void> SearchIndex::refresh(sqlite3* db, const QString& id) {
    std::optional<Entry> entry;
    auto read = Statement::run(db, R"sql(SELECT rowid, id, updated_at, search_title, search_body FROM note
WHERE id = ? AND deleted_at IS NULL)sql",
                               {id}, [&](const Statement::Row& row) {
                                   entry = Entry{row.integer(0), row.text(1), row.real(2),
                                                 row.utf8(3),    row.utf8(4), {}};
                               });
    if (!read)
        return read;
    std::erase_if(m_entries, [&](const Entry& held) { return held.id == id; });
    if (entry) {
        addTrigrams(entry->trigrams, entry->title);
        addTrigrams(entry->trigrams, entry->body);
        m_entries.insert(std::lower_bound(m_entries.begin(), m_entries.end(), *entry, comesBefore),
                         std::move(*entry));
    }
    return {};
}

bool SearchIndex::comesBefore(const Entry& a, const Entry& b) {
    // Newest first; notes of the same time in the order a scan of the table meets them.
    if (a.updatedAt != b.updatedAt)
        return a.updatedAt > b.updatedAt;
    return a.rowid < b.rowid;
}

void SearchIndex::addTrigrams(Trigrams& set, const QByteArray& text) {
    const auto add = [&set](std::uint32_t gram) {
        const std::uint32_t bit = (gram * 2654435761u) >> (32 - trigramBits);
        set[bit >> 6] |= std::uint64_t(1) << (bit & 63);
    };
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.constData());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // Single bytes too, marked apart from any sequence, for queries of one or two bytes.
        add(0x0100'0000u | bytes[i]);
        if (i + 2 < text.size())
            add(bytes[i] | std::uint32_t(bytes[i + 1]) << 8 | std::uint32_t(bytes[i + 2]) << 16);
    }
}

} // namespace Dovrin::Store
