#include "app/shell/SearchPanel.h"
#include "app/agent/Provenance.h"
#include "app/shell/SearchResultDelegate.h"
#include "app/shell/SearchSnippet.h"
#include "app/stickies/EditorProfile.h"
#include "app/stickies/StickyController.h"
#include "app/stickies/StickyManager.h"
#include "app/stickies/StickyPanel.h"
#include "app/store/NoteStore.h"
#include "tests/support/TestMain.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QtTest>

using namespace Dovrin;

namespace {

const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-1);

// Each call is a minute later than the one before, so the most recent note is the one created last.
QList<QUuid> createNotes(Store::NoteStore& store, const QStringList& markdowns) {
    static int minutes = 0;
    QList<Store::NoteStore::NewNote> notes;
    for (const QString& markdown : markdowns)
        notes.append({markdown, Store::StickyColor::green, {}, {}});
    const auto created = store.create(notes, "user", std::nullopt, start.addSecs(60 * ++minutes));
    QList<QUuid> ids;
    for (const Store::Note& note : created.value())
        ids.append(note.id);
    return ids;
}

QStringList titles(const QListView& list) {
    QStringList shown;
    for (int row = 0; row < list.model()->rowCount(); ++row)
        shown.append(list.model()->index(row, 0).data().toString());
    return shown;
}

Shell::SearchSnippet snippetOf(const QListView& list, const QString& title) {
    const QModelIndexList found = list.model()->match(list.model()->index(0, 0), Qt::DisplayRole, title);
    return found.isEmpty()
               ? Shell::SearchSnippet{}
               : found.first().data(Shell::SearchResultDelegate::snippetRole).value<Shell::SearchSnippet>();
}

} // namespace

class SearchPanelTest final : public QObject {
    Q_OBJECT

private slots:
    void typing_filtersRecentNotes_andCutsSnippetsAroundTheMatch() {
        QTemporaryDir folder;
        auto store = Store::NoteStore::open(folder.filePath("Dovrin.sqlite")).value();
        Agent::Provenance provenance;
        Stickies::StickyManager manager(*store, provenance);
        Shell::SearchPanel panel(manager, [] { return QString("Ctrl+Alt+N"); });
        panel.showPanel();
        auto* field = panel.findChild<QLineEdit*>();
        auto* list = panel.findChild<QListView*>("results");
        auto* emptyState = panel.findChild<QLabel*>("emptyState");
        QCOMPARE(emptyState->text(), QString("No notes yet. Press Ctrl+Alt+N to make one."));

        const QString later = "The quarterly planning meeting moved to Thursday afternoon, so bring the ";
        createNotes(*store, {"# Groceries\nbuy oranges and milk"});
        createNotes(*store,
                    {"# Dessert\nBake the cakes, then whip the crème fraîche", "# Recipes\norange cake"});
        // The accent written as a combining mark, as some keyboards do: folding it shortens the text.
        const QString creme = "CRE\u0300ME";
        createNotes(*store, {"# Café\n" + later + creme + " brûlée"});
        panel.showPanel();
        QVERIFY(emptyState->isHidden());
        QCOMPARE(titles(*list), (QStringList{"Café", "Recipes", "Dessert", "Groceries"}));

        QTest::keyClicks(field, "orange");
        QTRY_COMPARE(titles(*list), (QStringList{"Recipes", "Groceries"}));
        field->setText("creme");
        QTRY_COMPARE(titles(*list), (QStringList{"Café", "Dessert"}));
        // 24 characters before the match, after "…"; the emphasis is the text as the note writes it.
        const Shell::SearchSnippet far = snippetOf(*list, "Café");
        QCOMPARE(far.text, "…" + later.right(24) + creme + " brûlée");
        QCOMPARE(far.text.sliced(far.emphasisStart, far.emphasisLength), creme);
        QCOMPARE(snippetOf(*list, "Dessert"),
                 (Shell::SearchSnippet{"Bake the cakes, then whip the crème fraîche", 30, 5}));

        field->setText("zzzz");
        QTRY_VERIFY(list->isHidden());
        QCOMPARE(emptyState->text(), QString("No notes match “zzzz”."));

        QStringList many;
        for (int i = 0; i < 55; ++i)
            many.append(QString("# Log %1\nrotate the lorem files").arg(i));
        createNotes(*store, many);
        field->setText("lorem");
        QTRY_COMPARE(list->model()->rowCount(), Shell::SearchPanel::resultLimit);
        QCOMPARE(panel.findChild<QLabel*>("count")->text(), QString("55 notes"));
    }

    void keys_moveOpenAndHide_andLosingActivationHides() {
        QTemporaryDir folder;
        auto store = Store::NoteStore::open(folder.filePath("Dovrin.sqlite")).value();
        Agent::Provenance provenance;
        Stickies::StickyManager manager(*store, provenance);
        const QUuid oldest = createNotes(*store, {"# Taxes\nforms"}).first();
        createNotes(*store, {"# Plans\nweekend", "# Books\nto read"});

        Shell::SearchPanel panel(manager, [] { return QString(); });
        panel.showPanel();
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        auto* field = panel.findChild<QLineEdit*>();
        auto* list = panel.findChild<QListView*>("results");
        QVERIFY(field->hasFocus());
        QTest::keyClick(field, Qt::Key_Up);
        QCOMPARE(list->currentIndex().row(), 0);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(field, Qt::Key_Down);
        QCOMPARE(list->currentIndex().row(), 2);
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(!panel.isVisible());
        QTRY_VERIFY(manager.sticky(oldest) && manager.sticky(oldest)->panel()->isVisible());

        panel.showPanel();
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        QCOMPARE(list->model()->rowCount(), 3);
        QTest::keyClicks(field, "zzzz");
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(panel.isVisible());
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!panel.isVisible());

        panel.showPanel();
        QVERIFY(field->text().isEmpty());
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QTRY_VERIFY(!panel.isVisible());
    }
};

int main(int argc, char** argv) {
    Dovrin::Testing::TemporaryHome home;
    return Dovrin::Testing::runTests<QApplication, SearchPanelTest>(argc, argv,
                                                                    &Stickies::prepareEditorEngine);
}

#include "SearchPanelTest.moc"
