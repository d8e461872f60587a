// Times the note store at 1,000 and 10,000 notes of about 1 KB each; prints one line per measurement.
// Measure.h uses QString without including it.
#include <QString>

#include "app/store/NoteStore.h"
#include "app/store/PlainText.h"
#include "bench/support/Measure.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <malloc.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

using namespace Dovrin::Store;

namespace {

constexpr int noteCount = 10'000;

const QStringList words = {"plan",   "meeting", "coffee", "garden", "invoice", "travel", "recipe", "budget",
                           "review", "draft",   "call",   "order",  "book",    "fix",    "deploy", "report",
                           "café",   "naïve",   "piano",  "ticket", "school",  "doctor", "paint",  "river"};

// About 1 KB of Markdown: a heading, todos and prose made of common words.
QString sampleMarkdown(QRandomGenerator& random, int index) {
    QString text = u"# Note %1 %2\n"_s.arg(index).arg(words.at(random.bounded(words.size())));
    // One note in 500 carries a rare phrase, the kind of query a search usually is.
    if (index % 500 == 0)
        text += u"Quarterly review with Zoë\n"_s;
    while (text.size() < 1000) {
        const int kind = random.bounded(3);
        text += kind == 0 ? u"- [ ] "_s : kind == 1 ? u"- "_s : QString();
        for (int w = 0; w < 12; ++w)
            text += words.at(random.bounded(words.size())) + QLatin1Char(' ');
        text += QLatin1Char('\n');
    }
    return text;
}

std::unique_ptr<NoteStore> openOrDie(const QString& path) {
    auto store = NoteStore::open(path);
    if (!store)
        qFatal("open failed: %s", qPrintable(store.error().description));
    return std::move(store).value();
}

void fill(NoteStore& store, QRandomGenerator& random, int count) {
    QDateTime time = QDateTime::currentDateTimeUtc().addDays(-30);
    for (int start = 0; start < count; start += 100) {
        QList<NoteStore::NewNote> batch;
        for (int i = start; i < start + 100; ++i)
            batch.append(NoteStore::NewNote{sampleMarkdown(random, i), StickyColor::yellow,
                                            QRectF(0, 0, 300, 200), std::nullopt});
        if (!store.create(batch, u"user"_s, std::nullopt, time))
            qFatal("create failed");
        time = time.addSecs(60);
    }
}

void exec(sqlite3* db, const QString& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK)
        qFatal("%s", message);
}

// A database as the version-3 app left it, written with that version's statements.
void writeVersion3Database(const QString& path, QRandomGenerator& random) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    exec(db,
         "CREATE TABLE note (\n    id TEXT PRIMARY KEY NOT NULL,\n    markdown TEXT NOT NULL,\n"
         "    color TEXT NOT NULL,\n"
         "    frame_x REAL NOT NULL, frame_y REAL NOT NULL, frame_w REAL NOT NULL, frame_h REAL NOT NULL,\n"
         "    screen_id TEXT,\n    is_open INTEGER NOT NULL,\n    is_floating INTEGER NOT NULL,\n"
         "    is_collapsed INTEGER NOT NULL,\n    created_at REAL NOT NULL,\n    updated_at REAL NOT NULL,\n"
         "    rev INTEGER NOT NULL,\n    deleted_at REAL,\n    created_by TEXT NOT NULL,\n    batch_id "
         "TEXT\n);"
         "CREATE INDEX note_deleted_at ON note (deleted_at);"
         "ALTER TABLE note ADD COLUMN last_edited_by TEXT;"
         "CREATE TABLE note_snapshot (\n    note_id TEXT PRIMARY KEY NOT NULL,\n    markdown TEXT NOT NULL,\n"
         "    last_edited_by TEXT,\n    rev_after INTEGER NOT NULL\n);"
         "ALTER TABLE note ADD COLUMN search_title TEXT NOT NULL DEFAULT '';"
         "ALTER TABLE note ADD COLUMN search_body TEXT NOT NULL DEFAULT '';"
         "ALTER TABLE note ADD COLUMN deleted_by TEXT;"
         "PRAGMA user_version = 3; BEGIN;");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(
        db,
        "INSERT INTO note (id, markdown, color, frame_x, frame_y, frame_w, frame_h, is_open, "
        "is_floating, is_collapsed, created_at, updated_at, rev, created_by, last_edited_by, "
        "search_title, search_body) VALUES (?, ?, 'yellow', 0, 0, 300, 200, 1, 0, 0, ?, ?, ?, ?, ?, "
        "?, ?)",
        -1, &insert, nullptr);
    for (int i = 0; i < noteCount; ++i) {
        const QString markdown = sampleMarkdown(random, i);
        const QByteArray fields[] = {idText(QUuid::createUuid()).toUtf8(), markdown.toUtf8(),
                                     PlainText::fold(PlainText::title(markdown)).toUtf8(),
                                     PlainText::fold(PlainText::plainLines(markdown).join('\n')).toUtf8()};
        sqlite3_bind_text(insert, 1, fields[0].constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, fields[1].constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 3, 1.7e9 + i);
        sqlite3_bind_double(insert, 4, 1.7e9 + i);
        sqlite3_bind_int64(insert, 5, 1 + i % 3);
        sqlite3_bind_text(insert, 6, i % 2 ? "Claude" : "user", -1, SQLITE_STATIC);
        if (i % 4 == 1)
            sqlite3_bind_text(insert, 7, "Claude", -1, SQLITE_STATIC);
        else
            sqlite3_bind_null(insert, 7);
        sqlite3_bind_text(insert, 8, fields[2].constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 9, fields[3].constData(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE)
            qFatal("insert failed: %s", sqlite3_errmsg(db));
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec(db, "COMMIT");
    sqlite3_close(db);
}

// Heap in use by this process in KB.
qint64 heapKB() {
    return qint64(mallinfo2().uordblks / 1024);
}

// Every kind of query at `count` notes: broad, short, selective and no hit, plus the first search after
// opening, which reads every note's search text.
void benchSearch(const QString& path, int count) {
    QRandomGenerator random(42);
    auto store = openOrDie(path);
    fill(*store, random, count);
    store.reset();
    const QString notes = QLocale(QLocale::English).toString(count) + u" notes"_s;
    Dovrin::Bench::report(u"open and first search (%1)"_s.arg(notes), Dovrin::Bench::measure(5, [&] {
                              if (!openOrDie(path)->search(u"zebra"_s, 50))
                                  qFatal("search failed");
                          }));
    const qint64 before = heapKB();
    store = openOrDie(path);
    if (!store->search(QString(), 50))
        qFatal("search failed");
    QTextStream(stdout) << "memory of the search index (" << notes << "): " << heapKB() - before
                        << " KB of heap\n";
    // One title hit, whatever the count.
    const QString titled = u"note %1"_s.arg(count * 42 / 100 + 2);
    const std::pair<QString, const char*> queries[] = {
        {u"garden"_s, "broad: a word in nearly every note"},
        {u"CAFE"_s, "broad, folded from “café”"},
        {QString(), "empty: the most recently edited notes"},
        {u"ga"_s, "short: two characters"},
        {u"z"_s, "short: one character, in few notes"},
        {titled, "selective: one title hit"},
        {u"zoe"_s, "selective: folded from “Zoë”, one note in 500"},
        {u"zebra"_s, "no hit"},
        {u"doctor piano river paint"_s, "no hit of common words"},
    };
    for (const auto& [query, kind] : queries) {
        int total = 0;
        const auto timing = Dovrin::Bench::measure(50, [&] {
            auto found = store->search(query, 50);
            if (!found)
                qFatal("search failed");
            total = found->total;
        });
        Dovrin::Bench::report(
            u"search \"%1\" (%2; %3 hits of %4)"_s.arg(query, QString::fromUtf8(kind)).arg(total).arg(notes),
            timing);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    benchSearch(dir.filePath("search1000.sqlite"), 1'000);
    const QString path = dir.filePath("Dovrin.sqlite");
    QElapsedTimer filling;
    filling.start();
    benchSearch(path, noteCount);
    QTextStream(stdout) << "filled and searched " << noteCount << " notes in " << filling.elapsed()
                        << " ms, file " << QFile(path).size() / 1024 << " KB\n";

    QRandomGenerator random(7);
    auto store = openOrDie(path);
    const QList<Note> notes = *store->list(NoteStore::Scope::active);
    int edit = 0;
    Dovrin::Bench::report("update Markdown (1 KB note)", Dovrin::Bench::measure(200, [&] {
                              const Note& note = notes.at(edit % notes.size());
                              const QString markdown = note.markdown + u"\nedit %1"_s.arg(edit++);
                              if (!store->updateMarkdown(note.id, markdown, QDateTime::currentDateTimeUtc()))
                                  qFatal("update failed");
                          }));
    Dovrin::Bench::report(
        "create a batch of 10", Dovrin::Bench::measure(100, [&] {
            QList<NoteStore::NewNote> batch;
            for (int i = 0; i < 10; ++i)
                batch.append(NoteStore::NewNote{sampleMarkdown(random, i), StickyColor::blue,
                                                QRectF(0, 0, 300, 200), std::nullopt});
            if (!store->create(batch, u"Claude"_s, QUuid::createUuid(), QDateTime::currentDateTimeUtc()))
                qFatal("create failed");
        }));
    store.reset();
    Dovrin::Bench::report("reopen the 10,000-note database (every launch)",
                          Dovrin::Bench::measure(5, [&] { openOrDie(path); }));

    const QString version3 = dir.filePath("version3.sqlite");
    writeVersion3Database(version3, random);
    int run = 0;
    Dovrin::Bench::report("open and migrate a 10,000-note version-3 database", Dovrin::Bench::measure(5, [&] {
                              // Copying is part of the timing, so it is measured on its own below.
                              const QString copy = dir.filePath(u"migrate%1.sqlite"_s.arg(run++));
                              QFile::copy(version3, copy);
                              openOrDie(copy);
                          }));
    Dovrin::Bench::report("  of which copying the file", Dovrin::Bench::measure(5, [&] {
                              QFile::copy(version3, dir.filePath(u"copy%1.sqlite"_s.arg(run++)));
                          }));

    return 0;
}
