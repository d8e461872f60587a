#include "app/store/NoteStore.h"
#include "tests/e2e/InProcessApp.h"

#include <QJsonArray>
#include <QtTest>

using namespace Dovrin;
using namespace Dovrin::E2e;

namespace {

// What undoing an edit must bring back; the rev and time move on, as for any write.
bool sameContent(const Store::Note& a, const Store::Note& b) {
    return a.markdown == b.markdown && a.agentLabel == b.agentLabel && a.color == b.color &&
           a.frame == b.frame && a.isOpen == b.isOpen && a.deletedAt == b.deletedAt;
}

} // namespace

class UndoTest final : public QObject {
    Q_OBJECT

private slots:
    void undo_restoresEachKindOfChange() {
        InProcessApp app;
        const Store::Note mine = app.store
                                     ->create({{"- [ ] Call mom\n", Store::StickyColor::blue, {}, {}}},
                                              "user", std::nullopt, QDateTime::currentDateTimeUtc())
                                     ->first();
        Mcp mcp(app.home, "claude");

        // Two quick edits join into one entry; undo returns to the text before both.
        QVERIFY(!mcp.call("set_todo", {{"note", mine.idText()}, {"index", 0}, {"checked", true}}).isError);
        QVERIFY(
            !mcp.call("update_note",
                      {{"note", mine.idText()}, {"op", "append"}, {"markdown", "later"}, {"expected_rev", 2}})
                 .isError);
        QCOMPARE(app.activity().undoable().size(), 1);
        app.activity().undo(app.lastEntry());
        QTRY_VERIFY(sameContent(app.note(mine.id), mine));

        const QList<Store::Note> before = app.active();
        const QJsonObject created = mcp.callJson(
            "create_notes",
            {{"notes", QJsonArray{QJsonObject{{"markdown", "a"}}, QJsonObject{{"markdown", "b"}}}}});
        QCOMPARE(app.active().size(), 3);
        app.activity().undo(app.lastEntry());
        QTRY_COMPARE(app.active(), before);
        const auto batchNote = app.note(QUuid::fromString(created["notes"].toArray().at(0)["id"].toString()));
        QVERIFY(batchNote.deletedAt);

        const Store::Note beforeDelete = app.note(mine.id);
        QVERIFY(!mcp.call("delete_note", {{"note", mine.idText()}}).isError);
        QVERIFY(app.note(mine.id).deletedAt);
        app.activity().undo(app.lastEntry());
        QTRY_COMPARE(app.note(mine.id), beforeDelete);
    }

    void userEditAfterAnAIEdit_makesUndoUnavailable() {
        InProcessApp app;
        const Store::Note note = app.store
                                     ->create({{"draft", Store::StickyColor::yellow, {}, {}}}, "user",
                                              std::nullopt, QDateTime::currentDateTimeUtc())
                                     ->first();
        Mcp mcp(app.home, "codex");
        QVERIFY(!mcp.call("update_note", {{"note", note.idText()},
                                          {"op", "replace_all"},
                                          {"markdown", "AI text"},
                                          {"expected_rev", 1}})
                     .isError);
        const Agent::AgentActivity::Entry entry = app.activity().undoable().last();
        QVERIFY(app.activity().canUndo(entry));
        QCOMPARE(app.activity().refreshMenu().undoEntry, entry.id);

        // The user types into the note: another connection to the same file, as a sticky's save would be.
        const auto other = app.open();
        const auto typed = other->updateMarkdown(note.id, "user text", QDateTime::currentDateTimeUtc());
        QVERIFY(typed && *typed);
        QVERIFY(!app.activity().canUndo(entry));
        QVERIFY(app.activity().refreshMenu().undoEntry != entry.id);
        app.activity().undo(entry.id);
        QCoreApplication::processEvents();
        QCOMPARE(app.note(note.id).markdown, QString("user text"));
    }
};

DOVRIN_EDITOR_TEST_MAIN(UndoTest)
#include "UndoTest.moc"
