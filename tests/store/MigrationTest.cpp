#include "app/store/NoteStore.h"
#include "app/store/PlainText.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace Dovrin::Store;
using StoreFixture::column;
using StoreFixture::execute;

namespace {

const QString claudeFirst = u"11111111-1111-4111-8111-111111111111"_s;
const QString claudeLater = u"22222222-2222-4222-8222-222222222222"_s;
const QString userThenAI = u"33333333-3333-4333-8333-333333333333"_s;
const QString userOnly = u"44444444-4444-4444-8444-444444444444"_s;

// One row as an app of that version would have written it.
QString insertNote(int version, const QString& id, const QString& markdown, int rev, const QString& createdBy,
                   const QString& lastEditedBy) {
    QString columns = "id, markdown, color, frame_x, frame_y, frame_w, frame_h, is_open, is_floating, "
                      "is_collapsed, created_at, updated_at, rev, created_by";
    QString values = u"'%1', '%2', 'green', 1, 2, 300, 200, 1, 0, 0, 1700000000.5, 1700000001.25, "
                     "%3, '%4'"_s.arg(id, markdown)
                         .arg(rev)
                         .arg(createdBy);
    if (version >= 2) {
        columns += ", last_edited_by";
        values += lastEditedBy.isEmpty() ? u", NULL"_s : ", '" + lastEditedBy + "'";
    }
    return u"INSERT INTO note (%1) VALUES (%2);"_s.arg(columns, values);
}

void fillHistoricalRows(const QString& path, int version) {
    QString sql = insertNote(version, claudeFirst, "# Café menu\\nespresso", 1, "Claude", "Claude") +
                  insertNote(version, claudeLater, "later", 3, "Claude", "Claude") +
                  insertNote(version, userThenAI, "- [x] **milk**", 1, "user", "Codex") +
                  insertNote(version, userOnly, "mine", 2, "user", "");
    sql.replace("\\n", "' || char(10) || '");
    if (version >= 2)
        sql += "INSERT INTO note_snapshot VALUES ('" + claudeLater + "', 'before', 'Claude', 3);";
    QCOMPARE(execute(path, sql), QString());
}

// The two search indexes earlier versions kept inside the file, trimmed to one trigger each: first external
// content keyed on the note table's rowids, then a trigram table keyed by note id.
const QString earlierIndexes =
    "CREATE VIRTUAL TABLE note_search USING fts5(search_title, search_body, content='note', "
    "content_rowid='rowid', tokenize='trigram case_sensitive 1');"
    "CREATE TRIGGER note_search_insert AFTER INSERT ON note BEGIN INSERT INTO note_search (rowid, "
    "search_title, search_body) VALUES (new.rowid, new.search_title, new.search_body); END;"
    "CREATE TABLE note_search_key (key INTEGER PRIMARY KEY, note_id TEXT NOT NULL UNIQUE);"
    "CREATE VIRTUAL TABLE note_search_text USING fts5(search_title, search_body, "
    "tokenize='trigram case_sensitive 1');"
    "CREATE TRIGGER note_search_text_insert AFTER INSERT ON note BEGIN "
    "INSERT INTO note_search_key (note_id) VALUES (new.id); END;";

const QString indexObjects =
    "SELECT name FROM sqlite_master WHERE name LIKE 'note\\_search%' ESCAPE '\\' "
    "AND name NOT GLOB '*_data' AND name NOT GLOB '*_idx' AND name NOT GLOB '*_config' "
    "AND name NOT GLOB '*_docsize' AND name NOT GLOB '*_content' ORDER BY name";

// A current database of 30 notes that still holds the earlier indexes.
void writeIndexedDatabase(const QString& path) {
    auto store = StoreFixture::openStore(path);
    QVERIFY(store);
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(1'700'000'000'000, Qt::UTC);
    for (int i = 0; i < 30; ++i)
        QVERIFY(store->create({StoreFixture::newNote(u"# Note %1\nplant roses in the garden, Zoë"_s.arg(i))},
                              "user", std::nullopt, time.addSecs(i)));
    store.reset();
    QCOMPARE(execute(path, earlierIndexes), QString());
}

} // namespace

class MigrationTest final : public QObject {
    Q_OBJECT

private slots:
    void historicalVersions_migrateToCurrent_data() {
        QTest::addColumn<int>("version");
        QTest::newRow("version 1") << 1;
        QTest::newRow("version 2") << 2;
        QTest::newRow("version 3") << 3;
    }

    void historicalVersions_migrateToCurrent() {
        QFETCH(int, version);
        QTemporaryDir dir;
        const QString path = dir.filePath("Dovrin.sqlite");
        StoreFixture::createHistoricalDatabase(path, version);
        fillHistoricalRows(path, version);
        if (version == 3)
            QCOMPARE(execute(path, "UPDATE note SET search_title = 'kept as written'"), QString());

        auto store = StoreFixture::openStore(path);
        QVERIFY(store);
        QVERIFY(!store->isNew());
        QCOMPARE(column(path, "PRAGMA user_version"), QStringList{"4"});
        QCOMPARE(column(path, "PRAGMA journal_mode"), QStringList{"wal"});

        const Note cafe = **store->note(QUuid(claudeFirst));
        QCOMPARE(cafe.markdown, u"# Café menu\nespresso"_s);
        QCOMPARE(cafe.color, StickyColor::green);
        QCOMPARE(cafe.frame, QRectF(1, 2, 300, 200));
        QCOMPARE(cafe.createdAt, QDateTime::fromMSecsSinceEpoch(1'700'000'000'500, Qt::UTC));
        QCOMPARE(cafe.updatedAt, QDateTime::fromMSecsSinceEpoch(1'700'000'001'250, Qt::UTC));
        QCOMPARE(cafe.deletedBy, std::nullopt);

        if (version < 3) {
            // Search columns were filled from every existing row.
            QCOMPARE(column(path, "SELECT search_title FROM note WHERE id = '" + claudeFirst + "'"),
                     QStringList{"cafe menu"});
            QCOMPARE(column(path, "SELECT search_body FROM note WHERE id = '" + userThenAI + "'"),
                     QStringList{"milk"});
            QCOMPARE(store->search("CAFE", 10)->total, 1);
            QCOMPARE(store->search("espresso", 10)->total, 1);
        } else {
            QCOMPARE(column(path, "SELECT DISTINCT search_title FROM note"), QStringList{"kept as written"});
        }

        if (version >= 2) {
            QCOMPARE(cafe.agentLabel, (AgentLabel{"Claude", AgentLabel::Action::added}));
            QCOMPARE((**store->note(QUuid(claudeLater))).agentLabel,
                     (AgentLabel{"Claude", AgentLabel::Action::edited}));
            QCOMPARE((**store->note(QUuid(userThenAI))).agentLabel,
                     (AgentLabel{"Codex", AgentLabel::Action::edited}));
            QCOMPARE(column(path, "SELECT last_agent_action FROM note_snapshot"), QStringList{"edited"});
            const auto snapshot = **store->snapshot(QUuid(claudeLater));
            QCOMPARE(snapshot.markdown, u"before"_s);
            QCOMPARE(snapshot.label, (AgentLabel{"Claude", AgentLabel::Action::edited}));
        } else {
            QCOMPARE(cafe.agentLabel, std::nullopt);
        }
        QCOMPARE((**store->note(QUuid(userOnly))).agentLabel, std::nullopt);

        // The migrated file takes new notes like a fresh one.
        QVERIFY(store->create({StoreFixture::newNote("fresh")}, "Claude", std::nullopt,
                              QDateTime::currentDateTimeUtc()));
        QCOMPARE(store->list(NoteStore::Scope::active)->size(), 5);
    }

    void earlierSearchIndexes_areDroppedAtOpen_triggersFirst() {
        QTemporaryDir dir;
        for (const bool blocked : {false, true}) {
            const QString path = dir.filePath(blocked ? u"blocked.sqlite"_s : u"clean.sqlite"_s);
            writeIndexedDatabase(path);
            // A view where a table was fails its DROP TABLE: the tables stay, never read again, but no
            // trigger is left to fail a write.
            if (blocked)
                QCOMPARE(execute(path, "DROP TABLE note_search_key; CREATE VIEW note_search_key AS SELECT 1"),
                         QString());
            auto store = StoreFixture::openStore(path);
            QVERIFY(store);
            QCOMPARE(column(path, "SELECT count(*) FROM sqlite_master WHERE type = 'trigger'"),
                     QStringList{"0"});
            const QStringList kept = {"note_search", "note_search_key", "note_search_text"};
            QCOMPARE(column(path, indexObjects), blocked ? kept : QStringList());
            QVERIFY(store->create({StoreFixture::newNote("garden gate")}, "user", std::nullopt,
                                  QDateTime::currentDateTimeUtc()));
            QCOMPARE(store->search("garden", 100)->total, 31);
            for (const QString& query : StoreFixture::sampleQueries())
                QCOMPARE(StoreFixture::storeSearch(*store, query, 5),
                         StoreFixture::scannedSearch(path, query, 5));
        }
    }

    void failedOrRefusedMigration_leavesTheFileAsItWas() {
        QTemporaryDir dir;
        const QString failing = dir.filePath("failing.sqlite");
        StoreFixture::createHistoricalDatabase(failing, 2);
        fillHistoricalRows(failing, 2);
        // A column the version-4 step wants to add is already there, so the last step fails.
        QCOMPARE(execute(failing, "ALTER TABLE note_snapshot ADD COLUMN last_agent_action TEXT"), QString());
        auto store = NoteStore::open(failing);
        QVERIFY(!store);
        QVERIFY2(
            store.error().description.startsWith("duplicate column name: last_agent_action — ALTER TABLE"),
            qPrintable(store.error().description));
        QCOMPARE(column(failing, "PRAGMA user_version"), QStringList{"2"});
        QCOMPARE(
            column(failing, "SELECT count(*) FROM pragma_table_info('note') WHERE name = 'search_title'"),
            QStringList{"0"});
        QCOMPARE(column(failing, "SELECT count(*) FROM note"), QStringList{"4"});

        const QString newer = dir.filePath("Dovrin.sqlite");
        StoreFixture::createHistoricalDatabase(newer, 3);
        fillHistoricalRows(newer, 3);
        QCOMPARE(execute(newer, "PRAGMA user_version = 5"), QString());
        const QByteArray before = StoreFixture::fileBytes(newer);
        store = NoteStore::open(newer);
        QVERIFY(!store);
        QCOMPARE(store.error().description, u"database schema 5 is newer than this app (4)"_s);
        QCOMPARE(StoreFixture::fileBytes(newer), before);
        QCOMPARE(QDir(dir.path()).entryList({"Dovrin*"}, QDir::Files), QStringList{"Dovrin.sqlite"});
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, MigrationTest)
#include "MigrationTest.moc"
