#include "app/store/NoteStore.h"
#include "tests/store/StoreFixture.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace Dovrin::Store;
using StoreFixture::column;
using StoreFixture::execute;
using StoreFixture::newNote;
using StoreFixture::openStore;

namespace {

const QDateTime start = QDateTime::fromMSecsSinceEpoch(1'700'000'000'000, Qt::UTC);

Note createOne(NoteStore& store, const QString& markdown, const QString& createdBy = u"user"_s,
               const QDateTime& time = start) {
    auto created = store.create({newNote(markdown)}, createdBy, std::nullopt, time);
    if (!created || created->size() != 1)
        qFatal("could not create a note");
    return created->first();
}

// Notes for the search-index cases: titles and bodies that the sample queries hit in different ways.
QList<Note> createSearchableNotes(NoteStore& store, int count) {
    static const QStringList bodies = {"plant roses in the garden", "tulips and Zoë's café", "it's a note",
                                       "GARDEN tools", "nothing much"};
    QList<Note> notes;
    for (int i = 0; i < count; ++i)
        notes.append(createOne(store, u"# Note %1\n%2"_s.arg(i).arg(bodies.at(i % bodies.size())), "user",
                               start.addSecs(i)));
    return notes;
}

// Compares every sample query with the plain scan of the note table.
void expectIndexMatchesScan(NoteStore& store, const char* step) {
    for (const QString& query : StoreFixture::sampleQueries())
        QVERIFY2(StoreFixture::storeSearch(store, query, 7) ==
                     StoreFixture::scannedSearch(store.filePath(), query, 7),
                 qPrintable(u"%1: \"%2\""_s.arg(QLatin1String(step), query)));
}

} // namespace

class NoteStoreTest final : public QObject {
    Q_OBJECT

private slots:
    void create_batchKeepsOrderAndLabels_orStoresNoneWhenAnInsertFails() {
        QTemporaryDir dir;
        auto store = openStore(dir.filePath("Dovrin.sqlite"));
        QVERIFY(store->isNew());
        const QUuid batch = QUuid::createUuid();
        auto created = store->create({newNote("# One"), newNote("# Two"), newNote("# Three")}, u"Claude"_s,
                                     batch, start);
        QVERIFY2(created, StoreFixture::why(created).constData());
        QCOMPARE(created->size(), 3);
        for (int i = 0; i < 3; ++i) {
            const Note& note = created->at(i);
            QCOMPARE(note.createdAt, start.addMSecs(i));
            QCOMPARE(note.updatedAt, start.addMSecs(i));
            QCOMPARE(note.rev, 1);
            QVERIFY(note.isOpen);
            QCOMPARE(note.batchID, batch);
            QCOMPARE(note.agentLabel, (AgentLabel{"Claude", AgentLabel::Action::added}));
            QCOMPARE(note.screenID, u"screen-1"_s);
            QCOMPARE(note.frame, QRectF(10, 20, 300, 200));
            QCOMPARE(*store->note(note.id), note);
        }
        QCOMPARE(column(store->filePath(), "SELECT id FROM note ORDER BY updated_at").first(),
                 created->first().idText());

        const Note mine = createOne(*store, "mine");
        QCOMPARE(mine.agentLabel, std::nullopt);
        QCOMPARE(mine.batchID, std::nullopt);
        QCOMPARE(mine.createdBy, u"user"_s);

        // A batch whose third insert fails stores none of it.
        QCOMPARE(execute(store->filePath(), "CREATE TRIGGER refuse_third BEFORE INSERT ON note "
                                            "WHEN (SELECT count(*) FROM note) >= 6 "
                                            "BEGIN SELECT RAISE(ABORT, 'third refused'); END"),
                 QString());
        const auto refused =
            store->create({newNote("a"), newNote("b"), newNote("c")}, "Claude", std::nullopt, start);
        QVERIFY(!refused);
        QVERIFY2(refused.error().description.startsWith("third refused — INSERT INTO note"),
                 qPrintable(refused.error().description));
        QCOMPARE(column(store->filePath(), "SELECT count(*) FROM note"), QStringList{"4"});
        // The store is still usable after the rollback.
        QCOMPARE(execute(store->filePath(), "DROP TRIGGER refuse_third"), QString());
        QVERIFY(store->create({newNote("a")}, "user", std::nullopt, start));
    }

    void edits_keepOrClearTheAgentLabelAndSnapshot() {
        QTemporaryDir dir;
        auto store = openStore(dir.filePath("Dovrin.sqlite"));
        QList<QUuid> cleared;
        store->onAgentLabelCleared = [&](const QUuid& id) { cleared.append(id); };
        const Note before = createOne(*store, "- [ ] milk");

        auto ai = store->updateMarkdown(before.id, "- [x] milk", start.addSecs(1), u"Codex"_s,
                                        AgentLabel::Action::checkedOff);
        QVERIFY(ai && *ai);
        QCOMPARE((*ai)->rev, 2);
        QCOMPARE((*ai)->agentLabel, (AgentLabel{"Codex", AgentLabel::Action::checkedOff}));
        QVERIFY(store->saveSnapshot(before, (*ai)->rev, false));
        auto snapshot = store->snapshot(before.id);
        QVERIFY(snapshot && *snapshot);
        QCOMPARE((*snapshot)->markdown, u"- [ ] milk"_s);
        QCOMPARE((*snapshot)->label, std::nullopt);
        QCOMPARE((*snapshot)->rev, 2);
        // Saving the same text again keeps the revision, the time, the label and the snapshot.
        auto same = store->updateMarkdown(before.id, "- [x] milk", start.addSecs(60));
        QVERIFY(same && *same);
        QCOMPARE(**same, **ai);
        QVERIFY(*store->snapshot(before.id));
        QVERIFY(cleared.isEmpty());

        auto user = store->updateMarkdown(before.id, "- [x] milk\n- [ ] eggs", start.addSecs(2));
        QVERIFY(user && *user);
        QCOMPARE((*user)->rev, 3);
        QCOMPARE((*user)->updatedAt, start.addSecs(2));
        QCOMPARE((*user)->agentLabel, std::nullopt);
        QCOMPARE(cleared, QList<QUuid>{before.id});
        QCOMPARE(column(store->filePath(), "SELECT last_agent_action FROM note"), QStringList{"<null>"});
        QCOMPARE(*store->snapshot(before.id), std::nullopt);

        // A second user edit has no label left to clear.
        QVERIFY(store->updateMarkdown(before.id, "done", start.addSecs(3)));
        QCOMPARE(cleared.size(), 1);
    }

    void snapshotJoin_keepsOldestBaseline() {
        QTemporaryDir dir;
        auto store = openStore(dir.filePath("Dovrin.sqlite"));
        const Note original = createOne(*store, "v1", "Claude");
        const Note second = **store->updateMarkdown(original.id, "v2", start.addSecs(1), u"Claude"_s);
        QVERIFY(store->saveSnapshot(original, second.rev, true));
        const Note third = **store->updateMarkdown(original.id, "v3", start.addSecs(2), u"Claude"_s);
        QVERIFY(store->saveSnapshot(second, third.rev, true));
        auto joined = **store->snapshot(original.id);
        QCOMPARE(joined.markdown, u"v1"_s);
        QCOMPARE(joined.label, (AgentLabel{"Claude", AgentLabel::Action::added}));
        QCOMPARE(joined.rev, 3);

        // Without the join flag the baseline moves to the state right before this change.
        const Note fourth = **store->updateMarkdown(original.id, "v4", start.addSecs(3), u"Claude"_s);
        QVERIFY(store->saveSnapshot(third, fourth.rev, false));
        QCOMPARE((**store->snapshot(original.id)).markdown, u"v3"_s);

        // A join onto a snapshot that no longer continues starts a new baseline too.
        QVERIFY(store->updateMarkdown(original.id, "v5", start.addSecs(4)));
        const Note fifth = **store->note(original.id);
        const Note sixth = **store->updateMarkdown(original.id, "v6", start.addSecs(5), u"Claude"_s);
        QVERIFY(store->saveSnapshot(fifth, sixth.rev, true));
        QCOMPARE((**store->snapshot(original.id)).markdown, u"v5"_s);

        QVERIFY(store->moveToRecentlyDeleted(original.id, start.addSecs(6), u"user"_s));
        QCOMPARE(*store->snapshot(original.id), std::nullopt);
    }

    void deletedNotes_followTheirOwnRules() {
        QTemporaryDir dir;
        auto store = openStore(dir.filePath("Dovrin.sqlite"));
        const Note kept = createOne(*store, "kept");
        const Note gone = createOne(*store, "gone");
        QVERIFY(store->moveToRecentlyDeleted(gone.id, start.addSecs(10), u"Claude"_s));
        QVERIFY(store->moveToRecentlyDeleted(gone.id, start.addSecs(20), u"user"_s));
        const Note deleted = **store->note(gone.id);
        QCOMPARE(deleted.deletedAt, start.addSecs(10));
        QCOMPARE(deleted.deletedBy, u"Claude"_s);

        auto update = store->updateMarkdown(gone.id, "changed", start.addSecs(30));
        QVERIFY(update);
        QCOMPARE(*update, std::nullopt);
        QCOMPARE((**store->note(gone.id)).markdown, u"gone"_s);
        QCOMPARE(store->list(NoteStore::Scope::active)->size(), 1);
        QCOMPARE(store->list(NoteStore::Scope::recentlyDeleted)->first().id, gone.id);

        QVERIFY(store->deleteForGood({kept.id, gone.id}));
        QVERIFY(*store->note(kept.id));
        QCOMPARE(*store->note(gone.id), std::nullopt);

        // Purging keeps a note deleted exactly thirty days ago, and takes an older one with its snapshot.
        const QDateTime now = start.addDays(40);
        const Note exact = createOne(*store, "exact");
        const Note older = createOne(*store, "older");
        QVERIFY(store->moveToRecentlyDeleted(exact.id, now.addSecs(-2'592'000), std::nullopt));
        QVERIFY(store->moveToRecentlyDeleted(older.id, now.addMSecs(-2'592'000'001), std::nullopt));
        QVERIFY(store->saveSnapshot(older, 1, false));
        QCOMPARE(*store->purgeExpired(now), 1);
        QVERIFY(*store->note(exact.id));
        QVERIFY(*store->note(kept.id));
        QCOMPARE(*store->note(older.id), std::nullopt);
        QCOMPARE(column(store->filePath(), "SELECT count(*) FROM note_snapshot"), QStringList{"0"});
    }

    void search_foldsAndRanksTitleHitsFirst() {
        QTemporaryDir dir;
        auto store = openStore(dir.filePath("Dovrin.sqlite"));
        const Note titled = createOne(*store, "# Café plans\nnothing else", "user", start);
        const Note bodyOnly = createOne(*store, "Groceries\n- CAFE beans", "user", start.addSecs(60));
        const Note wide = createOne(*store, "ＡＢＣ order", "user", start.addSecs(120));
        const Note deleted = createOne(*store, "cafe in the bin", "user", start.addSecs(180));
        QVERIFY(store->moveToRecentlyDeleted(deleted.id, start.addSecs(200), std::nullopt));

        auto found = store->search(u"  cafe \n"_s, 10);
        QVERIFY(found);
        QCOMPARE(found->total, 2);
        QCOMPARE(found->notes.size(), 2);
        QCOMPARE(found->notes.at(0).id, titled.id);
        QCOMPARE(found->notes.at(1).id, bodyOnly.id);

        QCOMPARE(store->search(u"abc"_s, 10)->notes.first().id, wide.id);
        QCOMPARE(store->search(u"Ｃafé"_s, 1)->total, 2);
        auto limited = store->search(u"Café"_s, 1);
        QCOMPARE(limited->total, 2);
        QCOMPARE(limited->notes.size(), 1);
        QCOMPARE(store->search(u" \n"_s, 10)->total, 3);
        QCOMPARE(store->search(u"%"_s, 10)->total, 0);
    }

    void searchIndex_keepsInStepWithEveryWriteAndRowidChange() {
        QTemporaryDir dir;
        auto store = openStore(dir.filePath("Dovrin.sqlite"));
        const QString path = store->filePath();
        const QList<Note> notes = createSearchableNotes(*store, 40);
        expectIndexMatchesScan(*store, "created");
        QVERIFY(store->updateMarkdown(notes.at(0).id, "# Garden plan\ntulips", start.addSecs(50)));
        QVERIFY(store->updateMarkdown(notes.at(1).id, "nothing left", start.addSecs(51), u"Claude"_s));
        expectIndexMatchesScan(*store, "edited");

        QVERIFY(store->moveToRecentlyDeleted(notes.at(2).id, start.addSecs(60), std::nullopt));
        QVERIFY(store->moveToRecentlyDeleted(notes.at(3).id, start.addSecs(60), std::nullopt));
        QVERIFY(store->moveToRecentlyDeleted(notes.at(4).id, start.addDays(-40), std::nullopt));
        QVERIFY(store->moveToRecentlyDeleted(notes.at(5).id, start.addSecs(60), std::nullopt));
        expectIndexMatchesScan(*store, "moved to Recently Deleted");
        QVERIFY(store->restore(notes.at(2).id));
        QVERIFY(store->restoreAndOpen(notes.at(5).id));
        expectIndexMatchesScan(*store, "restored");
        QVERIFY(store->deleteForGood({notes.at(3).id}));
        QCOMPARE(*store->purgeExpired(start), 1);
        const Note empty = createOne(*store, "<br />");
        QCOMPARE(*store->close(empty.id), true);
        expectIndexMatchesScan(*store, "deleted for good and purged");

        // Writes from elsewhere: a changed id, a replaced row, a plain insert.
        QCOMPARE(execute(path, "UPDATE note SET id = '00000000-0000-4000-8000-000000000001' WHERE id = '" +
                                   notes.at(6).idText() + "'"),
                 QString());
        QCOMPARE(execute(path, "INSERT OR REPLACE INTO note SELECT * FROM note WHERE id = '" +
                                   notes.at(7).idText() + "'"),
                 QString());
        QCOMPARE(execute(path, "UPDATE OR REPLACE note SET id = '" + notes.at(8).idText() +
                                   "', "
                                   "search_body = 'tulip field' WHERE id = '" +
                                   notes.at(9).idText() + "'"),
                 QString());
        expectIndexMatchesScan(*store, "written by another connection");

        QCOMPARE(execute(path, "UPDATE note SET rowid = rowid + 1000"), QString());
        expectIndexMatchesScan(*store, "rowids moved");
        // Reversing the order puts every note on a rowid another note held before.
        QCOMPARE(execute(path, "UPDATE note SET rowid = 3000 - rowid"), QString());
        expectIndexMatchesScan(*store, "rowids reversed");
        for (int i = 10; i < 40; i += 3)
            QCOMPARE(execute(path, "DELETE FROM note WHERE id = '" + notes.at(i).idText() + "'"), QString());
        QCOMPARE(execute(path, "VACUUM"), QString());
        expectIndexMatchesScan(*store, "vacuumed");
        createSearchableNotes(*store, 5);
        QVERIFY(store->updateMarkdown(notes.at(11).id, "# Note 11\ngarden again", start.addSecs(200)));
        expectIndexMatchesScan(*store, "written after vacuum");
        store.reset();
        store = openStore(path);
        expectIndexMatchesScan(*store, "reopened");
    }

    void closeAndWindowState_leaveTextAndRevisionAlone() {
        QTemporaryDir dir;
        auto store = openStore(dir.filePath("Dovrin.sqlite"));
        const Note empty = createOne(*store, "<br />\n\n  <br /><br />\n\t\n");
        const Note text = createOne(*store, "<br />\nx");
        QCOMPARE(*store->close(empty.id), true);
        QCOMPARE(*store->note(empty.id), std::nullopt);
        QCOMPARE(store->list(NoteStore::Scope::recentlyDeleted)->size(), 0);
        QCOMPARE(*store->close(text.id), false);
        QCOMPARE((**store->note(text.id)).isOpen, false);
        QCOMPARE(store->list(NoteStore::Scope::open)->size(), 0);
        QVERIFY(store->reopen(text.id));
        QCOMPARE(store->list(NoteStore::Scope::open)->size(), 1);
        QCOMPARE(*store->close(QUuid::createUuid()), false);

        // The window's state is no edit: the revision and the time stay.
        const WindowState state{StickyColor::gray, QRectF(1.5, 2.25, 320, 240), std::nullopt, true, true};
        QVERIFY(store->saveWindowState(text.id, state));
        const Note saved = **store->note(text.id);
        QCOMPARE(saved.windowState(), state);
        QCOMPARE(saved.rev, 1);
        QCOMPARE(saved.updatedAt, text.updatedAt);
    }

    void unreadableRows_areSkippedOrDefaulted() {
        QTemporaryDir dir;
        auto store = openStore(dir.filePath("Dovrin.sqlite"));
        const Note good = createOne(*store, "good");
        QCOMPARE(
            execute(store->filePath(),
                    "INSERT INTO note (id, markdown, color, frame_x, frame_y, frame_w, frame_h, is_open, "
                    "is_floating, is_collapsed, created_at, updated_at, rev, created_by) "
                    "VALUES ('not-a-uuid', 'bad', 'blue', 0, 0, 1, 1, 1, 0, 0, 0, 0, 1, 'user')"),
            QString());
        QCOMPARE(execute(store->filePath(), u"UPDATE note SET color = 'teal', batch_id = 'x', "
                                            "last_edited_by = 'Cursor', last_agent_action = 'zapped' "
                                            "WHERE id = '%1'"_s.arg(good.idText())),
                 QString());
        auto active = store->list(NoteStore::Scope::active);
        QVERIFY(active);
        QCOMPARE(active->size(), 1);
        QCOMPARE(active->first().color, StickyColor::yellow);
        QCOMPARE(active->first().batchID, std::nullopt);
        QCOMPARE(active->first().agentLabel, (AgentLabel{"Cursor", AgentLabel::Action::edited}));
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, NoteStoreTest)
#include "NoteStoreTest.moc"
