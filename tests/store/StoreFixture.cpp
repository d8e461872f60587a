#include "StoreFixture.h"

#include <QFile>
#include <QTest>

#include <sqlite3.h>

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
                                             QRectF(10, 20, 300, 200), QStringLiteral("screen-1")};
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
        values.append(text ? QString::fromUtf8(text) : QStringLiteral("<null>"));
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
    statements << QStringLiteral("PRAGMA user_version = %1").arg(version);
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

} // namespace StoreFixture
