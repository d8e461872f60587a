#include "NoteStore.h"
#include "StoreFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Dovrin::Store;

class BadInputTest final : public QObject {
    Q_OBJECT

private slots:
    void fileThatIsNotSQLite_isLeftAlone() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Dovrin.sqlite");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray text = QByteArray("my shopping list, not a database\n").repeated(200);
        file.write(text);
        file.close();
        auto store = NoteStore::open(path);
        QVERIFY(!store);
        QCOMPARE(store.error().description, QStringLiteral("file is not a database — PRAGMA user_version"));
        QCOMPARE(StoreFixture::fileBytes(path), text);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Dovrin.sqlite"});
    }

    void truncatedDatabase_isRefusedUnchanged() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Dovrin.sqlite");
        {
            auto store = StoreFixture::openStore(path);
            QList<NoteStore::NewNote> notes;
            for (int i = 0; i < 100; ++i)
                notes.append(StoreFixture::newNote(QStringLiteral("note %1 ").arg(i).repeated(80)));
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
    }

    void unwritableDataDirectory_isAnError() {
        // Not even root can create files here, so this holds in CI too.
        const QString unwritable = QStringLiteral("/proc/self/fdinfo");
        if (!QFileInfo(unwritable).isDir())
            QSKIP("no procfs");
        qputenv("DOVRIN_HOME", unwritable.toUtf8());
        auto store = NoteStore::openInDataDirectory();
        QVERIFY(!store);
        QCOMPARE(store.error().description,
                 QStringLiteral("open /proc/self/fdinfo/Dovrin.sqlite: unable to open database file"));
    }
};

QTEST_GUILESS_MAIN(BadInputTest)
#include "BadInputTest.moc"
