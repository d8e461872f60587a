#include "tests/store/StoreFixture.h"

#include "app/store/PlainText.h"

#include <QFile>
#include <QTest>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace StoreFixture {

namespace {

struct Connection {
    explicit Connection(const QString& path) { sqlite3_open(QFile::encodeName(path).constData(), &db); }
    ~Connection() { sqlite3_close(db); }
    sqlite3* db = nullptr;
};

} // namespace

std::unique_ptr<Dovrin::Store::NoteStore> openStore(const QString& path) {
    auto store = Dovrin::Store::NoteStore::open(path);
    if (!store) {
        QTest::qFail(qPrintable(store.error().description), __FILE__, __LINE__);
        return nullptr;
    }
    return std::move(store).value();
}

Dovrin::Store::NoteStore::NewNote newNote(const QString& markdown) {
    return Dovrin::Store::NoteStore::NewNote{markdown, Dovrin::Store::StickyColor::blue,
                                             QRectF(10, 20, 300, 200), u"screen-1"_s};
}

QString execute(const QString& path, const QString& sql) {
    Connection connection(path);
    sqlite3_busy_timeout(connection.db, 2000);
    char* message = nullptr;
    if (sqlite3_exec(connection.db, sql.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return QString();
    const QString error = QString::fromUtf8(message ? message : "error");
    sqlite3_free(message);
    return error;
}

QStringList column(const QString& path, const QString& sql) {
    Connection connection(path);
    QStringList values;
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(connection.db, sql.toUtf8().constData(), -1, &statement, nullptr);
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        values.append(text ? QString::fromUtf8(text) : u"<null>"_s);
    }
    sqlite3_finalize(statement);
    return values;
}

void createHistoricalDatabase(const QString& path, int version) {
    QStringList statements = {
        "CREATE TABLE note (\n    id TEXT PRIMARY KEY NOT NULL,\n    markdown TEXT NOT NULL,\n"
        "    color TEXT NOT NULL,\n"
        "    frame_x REAL NOT NULL, frame_y REAL NOT NULL, frame_w REAL NOT NULL, frame_h REAL NOT NULL,\n"
        "    screen_id TEXT,\n    is_open INTEGER NOT NULL,\n    is_floating INTEGER NOT NULL,\n"
        "    is_collapsed INTEGER NOT NULL,\n    created_at REAL NOT NULL,\n    updated_at REAL NOT NULL,\n"
        "    rev INTEGER NOT NULL,\n    deleted_at REAL,\n    created_by TEXT NOT NULL,\n    batch_id "
        "TEXT\n)",
        "CREATE INDEX note_deleted_at ON note (deleted_at)"};
    if (version >= 2)
        statements
            << "ALTER TABLE note ADD COLUMN last_edited_by TEXT"
            << "CREATE TABLE note_snapshot (\n    note_id TEXT PRIMARY KEY NOT NULL,\n"
               "    markdown TEXT NOT NULL,\n    last_edited_by TEXT,\n    rev_after INTEGER NOT NULL\n)";
    if (version >= 3)
        statements << "ALTER TABLE note ADD COLUMN search_title TEXT NOT NULL DEFAULT ''"
                   << "ALTER TABLE note ADD COLUMN search_body TEXT NOT NULL DEFAULT ''"
                   << "ALTER TABLE note ADD COLUMN deleted_by TEXT";
    statements << u"PRAGMA user_version = %1"_s.arg(version);
    const QString error = execute(path, statements.join(";\n"));
    if (!error.isEmpty())
        QTest::qFail(qPrintable(error), __FILE__, __LINE__);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QStringList scannedSearch(const QString& path, const QString& query, int limit) {
    const QString folded = Dovrin::Store::PlainText::fold(query.trimmed()).replace('\'', "''");
    const QString condition = u"deleted_at IS NULL AND (instr(search_title, '%1') > 0 OR "
                              "instr(search_body, '%1') > 0)"_s.arg(folded);
    return column(path, "SELECT count(*) FROM note WHERE " + condition) +
           column(path, u"SELECT id FROM note WHERE %1 ORDER BY instr(search_title, '%2') > 0 "
                        "DESC, updated_at DESC LIMIT %3"_s.arg(condition, folded)
                            .arg(limit));
}

QStringList storeSearch(Dovrin::Store::NoteStore& store, const QString& query, int limit) {
    const auto found = store.search(query, limit);
    if (!found)
        return {found.error().description};
    QStringList answer = {QString::number(found->total)};
    for (const auto& note : found->notes)
        answer.append(note.idText());
    return answer;
}

const QStringList& sampleQueries() {
    static const QStringList queries = {"garden", "GARDEN roses", "tulip", "note 1", "note 12",       "Zoë",
                                        "café",   "ro",           "e",     "",       "no such words", "it's"};
    return queries;
}

} // namespace StoreFixture
