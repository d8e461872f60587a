#include "StickyManager.h"
#include "DesignGeometry.h"
#include "Geometry.h"
#include "NoteStore.h"
#include "Provenance.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

using namespace Dovrin;
using namespace Dovrin::Stickies;

class StickyManagerTest final : public QObject {
    Q_OBJECT

private slots:
    void agentBatch_isStoredWholeInsideTheScreen() {
        QTemporaryDir folder;
        auto store = Store::NoteStore::open(folder.filePath("Dovrin.sqlite")).value();
        Agent::Provenance provenance;
        StickyManager manager(*store, provenance);
        QList<Agent::StickyAccess::AgentNote> notes;
        for (int i = 0; i < 12; ++i)
            notes.append({QString("# Note %1\nbody").arg(i), Store::StickyColor::green});
        const QUuid batchID = QUuid::createUuid();
        const auto batch = manager.createBatchForAgent(notes, batchID, "Claude");
        QVERIFY(batch && !batch->parked);
        QCOMPARE(batch->notes.size(), 12);

        const QScreen& screen = *QGuiApplication::primaryScreen();
        const QRectF visible = Agent::DesignGeometry::visibleFrame(screen);
        for (const Store::Note& note : batch->notes) {
            const Store::Note stored = *store->note(note.id).value();
            QCOMPARE(stored.batchID, batchID);
            QCOMPARE(stored.createdBy, QString("Claude"));
            QCOMPARE(stored.color, Store::StickyColor::green);
            QCOMPARE(stored.screenID, Geometry::screenID(screen));
            QVERIFY(visible.contains(stored.frame));
            QCOMPARE(provenance.label(note.id)->label,
                     (Store::AgentLabel{"Claude", Store::AgentLabel::Action::added}));
        }
        QVERIFY(!manager.hasOpenSticky(batch->notes.first().id));
    }

    void agentDeletion_movesToRecentlyDeletedAndBack() {
        QTemporaryDir folder;
        auto store = Store::NoteStore::open(folder.filePath("Dovrin.sqlite")).value();
        Agent::Provenance provenance;
        StickyManager manager(*store, provenance);
        const Store::Note note = store
                                     ->create({{"x", Store::StickyColor::yellow, {}, {}}}, "user",
                                              std::nullopt, QDateTime::currentDateTimeUtc())
                                     ->first();
        bool done = false;
        manager.deleteNotesForAgent({note.id}, QString("Codex"), [&done] { done = true; });
        QVERIFY(done);
        QCOMPARE(store->note(note.id).value()->deletedBy, QString("Codex"));
        manager.undoAgentDeletion({note.id});
        QCOMPARE(*store->note(note.id).value(), note);

        std::optional<Agent::StickyAccess::EditOutcome> outcome;
        manager.applyExternalEdit(note.id, "new", note.rev + 1, "Codex", Store::AgentLabel::Action::edited,
                                  [&outcome](auto result) { outcome = result; });
        QVERIFY(outcome && !outcome->applied);
        QCOMPARE(outcome->markdown, QString("x"));
        manager.applyExternalEdit(note.id, "new", note.rev, "Codex", Store::AgentLabel::Action::edited,
                                  [&outcome](auto result) { outcome = result; });
        QVERIFY(outcome->applied);
        QCOMPARE(outcome->rev, note.rev + 1);
        QCOMPARE(store->note(note.id).value()->markdown, QString("new"));
    }
};

QTEST_MAIN(StickyManagerTest)
#include "StickyManagerTest.moc"
