#include "NoteStore.h"
#include "PlainText.h"
#include "StoreFixture.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Dovrin::Store;
using StoreFixture::column;
using StoreFixture::execute;

namespace {

const QString claudeFirst = QStringLiteral("11111111-1111-4111-8111-111111111111");
const QString claudeLater = QStringLiteral("22222222-2222-4222-8222-222222222222");
const QString userThenAI = QStringLiteral("33333333-3333-4333-8333-333333333333");
const QString userOnly = QStringLiteral("44444444-4444-4444-8444-444444444444");

// One row as an app of that version would have written it.
QString insertNote(int version, const QString& id, const QString& markdown, int rev, const QString& createdBy,
                   const QString& lastEditedBy) {
    QString columns = "id, markdown, color, frame_x, frame_y, frame_w, frame_h, is_open, is_floating, "
                      "is_collapsed, created_at, updated_at, rev, created_by";
    QString values =
        QStringLiteral("'%1', '%2', 'green', 1, 2, 300, 200, 1, 0, 0, 1700000000.5, 1700000001.25, "
                       "%3, '%4'")
            .arg(id, markdown)
            .arg(rev)
            .arg(createdBy);
    if (version >= 2) {
        columns += ", last_edited_by";
        values += lastEditedBy.isEmpty() ? QStringLiteral(", NULL") : ", '" + lastEditedBy + "'";
    }
    return QStringLiteral("INSERT INTO note (%1) VALUES (%2);").arg(columns, values);
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
        QCOMPARE(cafe.markdown, QStringLiteral("# Café menu\nespresso"));
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
            QCOMPARE(snapshot.markdown, QStringLiteral("before"));
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

    void newFile_isCreatedAtCurrentVersion() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Dovrin.sqlite");
        QVERIFY(StoreFixture::openStore(path)->isNew());
        QCOMPARE(column(path, "PRAGMA user_version"), QStringList{"4"});
        QVERIFY(!StoreFixture::openStore(path)->isNew());
    }

    void failedMigration_leavesOldVersion() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Dovrin.sqlite");
        StoreFixture::createHistoricalDatabase(path, 2);
        fillHistoricalRows(path, 2);
        // A column the version-4 step wants to add is already there, so the last step fails.
        QCOMPARE(execute(path, "ALTER TABLE note_snapshot ADD COLUMN last_agent_action TEXT"), QString());
        auto store = NoteStore::open(path);
        QVERIFY(!store);
        QVERIFY2(
            store.error().description.startsWith("duplicate column name: last_agent_action — ALTER TABLE"),
            qPrintable(store.error().description));
        QCOMPARE(column(path, "PRAGMA user_version"), QStringList{"2"});
        QCOMPARE(column(path, "SELECT count(*) FROM pragma_table_info('note') WHERE name = 'search_title'"),
                 QStringList{"0"});
        QCOMPARE(column(path, "SELECT count(*) FROM note"), QStringList{"4"});
    }

    void newerSchema_isRefusedUnchanged() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Dovrin.sqlite");
        StoreFixture::createHistoricalDatabase(path, 3);
        fillHistoricalRows(path, 3);
        QCOMPARE(execute(path, "PRAGMA user_version = 5"), QString());
        const QByteArray before = StoreFixture::fileBytes(path);
        auto store = NoteStore::open(path);
        QVERIFY(!store);
        QCOMPARE(store.error().description, QStringLiteral("database schema 5 is newer than this app (4)"));
        QCOMPARE(StoreFixture::fileBytes(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Dovrin.sqlite"});
    }
};

QTEST_GUILESS_MAIN(MigrationTest)
#include "MigrationTest.moc"
