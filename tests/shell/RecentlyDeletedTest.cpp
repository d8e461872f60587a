#include "app/shell/RecentlyDeleted.h"
#include "app/agent/Provenance.h"
#include "app/core/AppLanguage.h"
#include "app/shell/DaysLeft.h"
#include "app/shell/DeletedRow.h"
#include "app/shell/Translations.h"
#include "app/stickies/EditorProfile.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"
#include "tests/support/TestMain.h"

#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

using namespace Dovrin;

namespace {

// A note moved to Recently Deleted at `deletedAt`.
QUuid deletedNote(Store::NoteStore& store, const QString& markdown, const QDateTime& deletedAt,
                  const std::optional<QString>& deletedBy = std::nullopt) {
    const QUuid id =
        store.create({{markdown, Store::StickyColor::blue, {}, {}}}, "user", std::nullopt, deletedAt)
            ->first()
            .id;
    if (!store.close(id) || !store.moveToRecentlyDeleted(id, deletedAt, deletedBy))
        QTest::qFail("could not delete the note", __FILE__, __LINE__);
    return id;
}

// The first column of the first row, on a connection of its own as another process would have; or the error.
QString query(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_stmt* statement = nullptr;
    QString answer;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        answer = QString::fromUtf8(sqlite3_errmsg(db));
    else if (const int step = sqlite3_step(statement); step == SQLITE_ROW)
        answer = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    else if (step != SQLITE_DONE)
        answer = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return answer;
}

// The rows on show once what the window let go of is gone.
QList<Shell::DeletedRow*> rows(QWidget& window) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window.findChildren<Shell::DeletedRow*>();
}

void press(QWidget& parent, const QString& text) {
    for (QPushButton* button : parent.findChildren<QPushButton*>())
        if (button->text() == text)
            return button->click();
    QTest::qFail(qPrintable("no button " + text), __FILE__, __LINE__);
}

// Answers the sheet on the window with the button named `answer`; returns what it asked.
QString answerSheet(QWidget& window, const QString& answer) {
    auto* alert = window.findChild<QMessageBox*>();
    if (!alert || !alert->isVisible() || alert->windowModality() != Qt::WindowModal ||
        alert->informativeText() != "You can’t undo this.")
        return "no sheet";
    const QString question = alert->text();
    press(*alert, answer);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window.findChild<QMessageBox*>() ? "sheet still open" : question;
}

} // namespace

class RecentlyDeletedTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Shell::installTranslations(Core::AppLanguage::english); }

    void rows_nameTheAIAndTheDaysLeft_andRestoreReopens() {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        QCOMPARE(Shell::daysLeft(now.addSecs(-29 * 86'400 - 43'200), now), 1);
        QCOMPARE(Shell::daysLeft(now.addDays(-30), now), 0);

        QTemporaryDir folder;
        auto store = Store::NoteStore::open(folder.filePath("Dovrin.sqlite")).value();
        Agent::Provenance provenance;
        Stickies::StickyManager manager(*store, provenance);
        const QUuid byUser = deletedNote(*store, "Groceries\nmilk", now.addSecs(-29 * 86'400 - 43'200));
        const QUuid byClaude = deletedNote(*store, "# Plans\n- [ ] pack\n\nweekend", now, QString("Claude"));

        Shell::RecentlyDeleted window(manager);
        window.showWindow();
        QList<Shell::DeletedRow*> shown = rows(window);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0)->noteID(), byClaude);
        // One element for assistive technology, its buttons inside it.
        QAccessibleInterface* row = QAccessible::queryAccessibleInterface(shown.at(0));
        QCOMPARE(row->text(QAccessible::Name),
                 QString("Plans, pack · weekend, Deleted by Claude, Deleted just now · 30 days left"));
        QCOMPARE(row->childCount(), 2);
        QCOMPARE(row->child(0)->role(), QAccessible::Button);
        const QString userRow = QAccessible::queryAccessibleInterface(shown.at(1))->text(QAccessible::Name);
        QVERIFY2(!userRow.contains("Deleted by") && userRow.endsWith(" · 1 day left"), qPrintable(userRow));

        press(*shown.at(0), "Restore");
        QCOMPARE(rows(window).size(), 1);
        const Store::Note restored = *store->note(byClaude).value();
        QVERIFY(!restored.deletedAt && restored.isOpen);
        QTRY_VERIFY(manager.sticky(byClaude) != nullptr);

        // Cancelling the sheet changes nothing.
        press(window, "Delete All…");
        QCOMPARE(answerSheet(window, "Cancel"), QString("Delete 1 note immediately?"));
        QCOMPARE(rows(window).size(), 1);
        QVERIFY(store->note(byUser).value()->deletedAt);
    }

    void delete_purgesAllOrNothing_andKeepsANoteRestoredMeanwhile() {
        QTemporaryDir folder;
        const QString path = folder.filePath("Dovrin.sqlite");
        auto store = Store::NoteStore::open(path).value();
        Agent::Provenance provenance;
        Stickies::StickyManager manager(*store, provenance);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const QUuid oldest = deletedNote(*store, "Oldest", now.addDays(-3));
        const QUuid middle = deletedNote(*store, "Middle", now.addDays(-2));
        const QUuid newest = deletedNote(*store, "Newest", now.addDays(-1));
        QVERIFY(store->saveSnapshot(*store->note(middle).value(), 2, false).ok());
        const QString snapshots = "SELECT count(*) FROM note_snapshot";
        const QString notes = "SELECT count(*) FROM note";

        Shell::RecentlyDeleted window(manager);
        window.showWindow();

        // The last of the three cannot go, so none of them goes.
        QCOMPARE(query(path, "CREATE TRIGGER refuse BEFORE DELETE ON note WHEN old.id = '" +
                                 Store::idText(oldest) + "' BEGIN SELECT RAISE(ABORT, 'refused'); END"),
                 QString());
        press(window, "Delete All…");
        QCOMPARE(answerSheet(window, "Delete"), QString("Delete all 3 notes immediately?"));
        QCOMPARE(query(path, notes), QString("3"));
        QCOMPARE(rows(window).size(), 3);
        QCOMPARE(query(path, "DROP TRIGGER refuse"), QString());

        press(*rows(window).at(1), "Delete Immediately…");
        QCOMPARE(answerSheet(window, "Delete"), QString("Delete “Middle” immediately?"));
        QCOMPARE(store->note(middle).value(), std::nullopt);
        QCOMPARE(query(path, snapshots), QString("0"));
        QCOMPARE(rows(window).size(), 2);

        // Restored elsewhere after the list was read: the purge leaves it alone.
        QVERIFY(store->restore(newest).ok());
        press(window, "Delete All…");
        QCOMPARE(answerSheet(window, "Delete"), QString("Delete all 2 notes immediately?"));
        QCOMPARE(store->note(oldest).value(), std::nullopt);
        QVERIFY(store->note(newest).value().has_value());
        QVERIFY(rows(window).isEmpty());
    }
};

int main(int argc, char** argv) {
    // The settings file is read once per run; a fresh home keeps earlier runs out.
    Dovrin::Testing::TemporaryHome home;
    return Dovrin::Testing::runTests<QApplication, RecentlyDeletedTest>(argc, argv,
                                                                        &Stickies::prepareEditorEngine);
}

#include "RecentlyDeletedTest.moc"
