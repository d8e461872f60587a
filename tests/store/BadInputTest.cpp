#include "app/store/NoteStore.h"
#include "app/store/Statement.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

using namespace Dovrin::Store;

class BadInputTest final : public QObject {
    Q_OBJECT

private slots:
    void fileThatIsNotAWholeDatabase_isRefusedUnchanged() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Dovrin.sqlite");
        {
            auto store = StoreFixture::openStore(path);
            QList<NoteStore::NewNote> notes;
            for (int i = 0; i < 100; ++i)
                notes.append(StoreFixture::newNote(u"note %1 "_s.arg(i).repeated(80)));
            QVERIFY(store->create(notes, "user", std::nullopt, QDateTime::currentDateTimeUtc()));
        }
        QFile file(path);
        QVERIFY(file.resize(file.size() / 2));
        const QByteArray truncated = StoreFixture::fileBytes(path);
        auto store = NoteStore::open(path);
        QVERIFY(!store);
        QVERIFY2(store.error().description.startsWith("database disk image is malformed — "),
                 qPrintable(store.error().description));
        QCOMPARE(StoreFixture::fileBytes(path), truncated);

        const QByteArray text = QByteArray("my shopping list, not a database\n").repeated(200);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();
        store = NoteStore::open(path);
        QVERIFY(!store);
        QCOMPARE(store.error().description, u"file is not a database — PRAGMA user_version"_s);
        QCOMPARE(StoreFixture::fileBytes(path), text);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Dovrin.sqlite"});
    }

    void statementWithTrailingSQL_runsNothing() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Dovrin.sqlite");
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
        const auto closer = qScopeGuard([db] { sqlite3_close(db); });
        auto both = Statement::run(db, "CREATE TABLE a (x); CREATE TABLE b (x)");
        QVERIFY(!both);
        QCOMPARE(both.error().description, u"trailing SQL after the first statement: CREATE TABLE b "
                                           "(x) — CREATE TABLE a (x); CREATE TABLE b (x)"_s);
        // Comments and whitespace after the statement are no second statement.
        const auto commented = Statement::run(db, "CREATE TABLE c (x); -- why\n/* and how */ ");
        QVERIFY2(commented, StoreFixture::why(commented).constData());
        QCOMPARE(StoreFixture::column(path, "SELECT name FROM sqlite_master"), QStringList{"c"});
    }

    void unwritableDataDirectory_isAnError() {
        // Not even root can create files here, so this holds in CI too.
        const QString unwritable = u"/proc/self/fdinfo"_s;
        if (!QFileInfo(unwritable).isDir())
            QSKIP("no procfs");
        qputenv("DOVRIN_HOME", unwritable.toUtf8());
        auto store = NoteStore::openInDataDirectory();
        QVERIFY(!store);
        QCOMPARE(store.error().description,
                 u"open /proc/self/fdinfo/Dovrin.sqlite: unable to open database file"_s);
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, BadInputTest)
#include "BadInputTest.moc"
