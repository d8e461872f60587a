#include "app/stickies/StickyManager.h"
#include "app/agent/Provenance.h"
#include "app/core/ScreenSpace.h"
#include "app/stickies/AgentStickies.h"
#include "app/stickies/Geometry.h"
#include "app/stickies/StickyController.h"
#include "app/stickies/StickyMenu.h"
#include "app/stickies/StickyPanel.h"
#include "app/stickies/StickyViewState.h"
#include "app/store/NoteStore.h"
#include "tests/stickies/EditorTestSupport.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using namespace Dovrin;
using namespace Dovrin::Stickies;
using namespace Qt::StringLiterals;

namespace {

// The log lines the app writes while a test runs.
QStringList logLines;
void keepLogLine(QtMsgType, const QMessageLogContext&, const QString& message) {
    logLines.append(message);
}

struct Desk {
    Desk() { logLines.clear(); }

    Store::Note add(const QString& markdown, const QRectF& frame = {100, 300, 260, 260},
                    bool collapsed = false) {
        Store::Note note = store
                               ->create({{markdown, Store::StickyColor::yellow, frame, {}}}, "user", {},
                                        QDateTime::currentDateTimeUtc())
                               ->first();
        if (collapsed) {
            note.isCollapsed = true;
            if (!store->saveWindowState(note.id, note.windowState()))
                qFatal("window state not saved");
        }
        return note;
    }
    Store::Note stored(const QUuid& id) const { return store->note(id).value().value_or(Store::Note()); }
    QList<QUuid> stackedIDs() const {
        QList<QUuid> ids;
        for (StickyController* sticky : manager.stackingOrder())
            ids.append(sticky->id());
        return ids;
    }
    bool allReady() const {
        const QList<StickyController*> all = manager.stickies();
        return std::all_of(all.begin(), all.end(), [](StickyController* s) { return s->isEditorReady(); });
    }

    QTemporaryDir folder;
    std::unique_ptr<Store::NoteStore> store =
        Store::NoteStore::open(folder.filePath("Dovrin.sqlite")).value();
    Agent::Provenance provenance;
    StickyManager manager{*store, provenance};
    AgentStickies agent{manager, provenance};
};

QMessageBox* shownAlert() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
            return box;
    return nullptr;
}

// As after a click into the note: the editor takes the keyboard, then the keys arrive.
void type(StickyController& sticky, const QString& text) {
    QTRY_VERIFY(sticky.webView()->focusProxy());
    QVERIFY(Testing::callAndWait(*sticky.page(), "return dovrin.focus()"));
    QTest::keyClicks(sticky.webView()->focusProxy(), text);
    // Keys reach the page on their own channel; the text is in the editor before anything else is asked.
    QTRY_VERIFY(Testing::callAndWait(*sticky.page(), "return dovrin.getMarkdown()")
                    ->value()
                    .toString()
                    .contains(text));
}

} // namespace

class StickyManagerTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qInstallMessageHandler(keepLogLine); }

    void laterEditors_areSpawnedOneAtATimeFromAReadyPage() {
        Desk desk;
        StickyController* first = desk.manager.create(Store::StickyColor::yellow, {}, {100, 300, 260, 260});
        QTRY_VERIFY_WITH_TIMEOUT(first->isEditorReady(), 15000);
        QVERIFY(first->webView()->hasFocus() || first->panel()->isActiveWindow());
        for (int i = 0; i < 3; ++i)
            desk.manager.create(Store::StickyColor::blue, {}, {150.0 + 30 * i, 300, 260, 260});
        QTRY_VERIFY_WITH_TIMEOUT(desk.allReady(), 15000);
        QCOMPARE(desk.manager.stickies().size(), 4);

        // One page loaded from scratch; each later one asked for and handed over before the next request.
        QCOMPARE(logLines.filter("editor loading").size(), 1);
        const QStringList requests = logLines.filter(QRegularExpression("^editor window (requested|opened)"));
        QCOMPARE(requests.size(), 6);
        for (qsizetype i = 0; i < requests.size(); ++i)
            QVERIFY2(requests.at(i).contains(i % 2 ? u"opened"_s : u"requested"_s),
                     qPrintable(requests.join('\n')));
        // Every sticky got the editor meant for it, not its neighbour's.
        for (StickyController* sticky : desk.manager.stickies())
            QCOMPARE(sticky->webView()->parentWidget()->window(), sticky->panel());
    }

    void hideAllThenShowAll_restoresTheStacking() {
        Desk desk;
        const Store::Note a = desk.add("A");
        const Store::Note b = desk.add("B");
        const Store::Note c = desk.add("C");
        desk.manager.restoreOpenStickies();
        QVERIFY(logLines.contains("restored 3 open stickies"));
        // Restored oldest first, so the newest is in front; the user then brings A up.
        QCOMPARE(desk.stackedIDs(), (QList<QUuid>{a.id, b.id, c.id}));
        desk.manager.openUrl(QUrl(a.link()));
        const QList<QUuid> before{b.id, c.id, a.id};
        QCOMPARE(desk.stackedIDs(), before);
        QTRY_VERIFY_WITH_TIMEOUT(desk.allReady(), 15000);
        type(*desk.manager.sticky(a.id), "!");

        bool hidden = false;
        desk.manager.hideAll([&] { hidden = true; });
        QTRY_VERIFY(hidden);
        QVERIFY(desk.manager.isHidingAll());
        QVERIFY(desk.manager.stickies().isEmpty());
        QVERIFY(desk.stored(a.id).isOpen && desk.stored(a.id).markdown.contains("!"));
        QVERIFY(logLines.contains("hid all (3)"));

        desk.manager.showAll();
        QVERIFY(!desk.manager.isHidingAll());
        QCOMPARE(desk.stackedIDs(), before);
    }

    void newStickyAtTheMouse_reusesAnEmptyNewestSticky() {
        Desk desk;
        QCursor::setPos(QGuiApplication::primaryScreen()->geometry().center());
        desk.manager.newStickyAtMouse();
        QCOMPARE(desk.manager.stickies().size(), 1);
        StickyController* empty = desk.manager.stickies().first();
        const QRectF visible = Core::ScreenSpace::visibleFrame(*QGuiApplication::primaryScreen());
        QVERIFY(visible.contains(desk.stored(empty->id()).frame));
        QTRY_VERIFY_WITH_TIMEOUT(empty->isEditorReady(), 15000);
        empty->save("<br />");
        desk.manager.newStickyAtMouse();
        QCOMPARE(desk.manager.stickies().size(), 1);

        type(*empty, "Milk");
        QTRY_VERIFY(desk.stored(empty->id()).markdown.contains("Milk"));
        desk.manager.newStickyAtMouse();
        QCOMPARE(desk.manager.stickies().size(), 2);

        // Without a tray the stickies stand in the taskbar and carry the app's menu.
        QMenu appMenu("Dovrin");
        desk.manager.setShowsInTaskbar(true);
        desk.manager.setApplicationMenu(&appMenu);
        QVERIFY(!empty->panel()->windowFlags().testFlag(Qt::Tool) && empty->panel()->isVisible());
        QCOMPARE(empty->menu().items().last()->menu(), &appMenu);
    }

    void noteLinks_askBeforeRestoringAndSayWhenANoteIsMissing() {
        Desk desk;
        desk.manager.openUrl(QUrl("dovrin://note/" + Store::idText(QUuid::createUuid())));
        QTRY_VERIFY(shownAlert());
        QCOMPARE(shownAlert()->text(), QString("This note isn’t on this computer."));
        shownAlert()->close();

        const Store::Note gone = desk.add("Gone");
        QVERIFY(desk.store->moveToRecentlyDeleted(gone.id, QDateTime::currentDateTimeUtc(), std::nullopt));
        desk.manager.openUrl(QUrl(gone.link()));
        QTRY_VERIFY(shownAlert());
        QCOMPARE(shownAlert()->text(), QString("That note was deleted."));
        QVERIFY(desk.manager.stickies().isEmpty());
        for (QAbstractButton* button : shownAlert()->buttons())
            if (button->text() == "Restore")
                button->click();
        QVERIFY(desk.manager.sticky(gone.id));
        QVERIFY(!desk.stored(gone.id).deletedAt && desk.stored(gone.id).isOpen);

        // An open note's link brings its sticky up instead of a second one; other forms only log.
        desk.manager.openUrl(QUrl(gone.link()));
        QCOMPARE(desk.manager.stickies().size(), 1);
        desk.manager.openUrl(QUrl("dovrin://elsewhere/x"));
        QVERIFY(logLines.contains("unknown link dovrin://elsewhere/x"));
    }

    void screens_bringLostNotesBackAndKeepCollapsedStrips() {
        Desk desk;
        const Store::Note lost = desk.add("Lost", {-5000, 9000, 260, 260});
        const Store::Note strip = desk.add("Strip", {200, 300, 260, 300}, true);
        const Store::Note sizeless = desk.add("No size", {});
        desk.manager.restoreOpenStickies();
        QCOMPARE(desk.manager.sticky(sizeless.id)->panel()->size(), QSize(260, 260));
        const QRectF visible = Core::ScreenSpace::visibleFrame(*QGuiApplication::primaryScreen());
        const QRectF recovered =
            Core::ScreenSpace::fromWindow(desk.manager.sticky(lost.id)->panel()->geometry());
        QVERIFY(visible.contains(recovered));
        QVERIFY(!logLines.filter("recovered off-screen note=" + lost.idText()).isEmpty());

        desk.manager.screensChanged();
        QCOMPARE(desk.manager.sticky(strip.id)->panel()->height(), 32);
        QCOMPARE(desk.manager.sticky(strip.id)->note().frame.height(), 300.0);
    }

    void agentBatch_waitsWhileAFullScreenWindowCoversTheScreen() {
        Desk desk;
        bool occupied = true;
        desk.agent.setFullScreenCheck([&](const QScreen&) { return occupied; });
        QList<Agent::StickyAccess::AgentNote> notes;
        for (int i = 0; i < 3; ++i)
            notes.append({QString("# Idea %1").arg(i), Store::StickyColor::green});
        const auto batch = desk.agent.createBatchForAgent(notes, QUuid::createUuid(), "Claude");
        QVERIFY(batch && batch->parked);
        QCoreApplication::processEvents();
        QVERIFY(desk.manager.stickies().isEmpty());

        desk.agent.showParkedIfClear();
        QVERIFY(desk.manager.stickies().isEmpty());
        occupied = false;
        desk.agent.showParkedIfClear();
        QTRY_COMPARE(desk.manager.stickies().size(), 3);
        for (StickyController* sticky : desk.manager.stickies()) {
            QCOMPARE(sticky->state()->provenance()->label.agent, QString("Claude"));
            QVERIFY(sticky->panel()->isVisible());
        }
        const QRectF visible = Core::ScreenSpace::visibleFrame(*QGuiApplication::primaryScreen());
        for (const Store::Note& note : batch->notes)
            QVERIFY(visible.contains(desk.stored(note.id).frame));

        // Shown over the full-screen window at the user's word, a note stays above it after it changes.
        occupied = true;
        const auto over = desk.agent.createBatchForAgent({{"# Over", Store::StickyColor::blue}},
                                                         QUuid::createUuid(), "Claude");
        QVERIFY(over && over->parked);
        desk.agent.showParked();
        QTRY_VERIFY(desk.manager.sticky(over->notes.first().id));
        StickyController* shown = desk.manager.sticky(over->notes.first().id);
        QTRY_VERIFY(shown->panel()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        shown->setColor(Store::StickyColor::pink);
        QVERIFY(shown->panel()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(shown->panel()->isVisible());
    }

    void aDeadEditorProcess_reloadsEveryEditorFromTheStore() {
        Desk desk;
        const Store::Note one = desk.add("One");
        const Store::Note two = desk.add("Two");
        desk.manager.restoreOpenStickies();
        QTRY_VERIFY_WITH_TIMEOUT(desk.allReady(), 15000);
        EditorPage* dead = desk.manager.sticky(one.id)->page();
        const qint64 pid = dead->page()->renderProcessPid();
        QVERIFY(pid > 0);
        ::kill(pid_t(pid), SIGKILL);
        QTRY_VERIFY(!logLines.filter("WebContent process terminated").isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(desk.allReady(), 15000);
        for (const Store::Note& note : {one, two}) {
            StickyController* sticky = desk.manager.sticky(note.id);
            QVERIFY(sticky->page() != dead);
            QCOMPARE(Testing::callAndWait(*sticky->page(), "return dovrin.getMarkdown()")->value().toString(),
                     note.markdown);
        }
    }

    void closingDeletingAndQuitting_keepWhatWasTypedAndHandTheFocusOn() {
        Desk desk;
        const Store::Note kept = desk.add("Kept");
        const Store::Note binned = desk.add("Binned");
        const Store::Note front = desk.add("Front");
        desk.manager.restoreOpenStickies();
        QTRY_VERIFY_WITH_TIMEOUT(desk.allReady(), 15000);
        StickyController* typing = desk.manager.sticky(front.id);
        type(*typing, " typed");
        QTRY_VERIFY(typing->panel()->isActiveWindow());

        // Closing fades the window out and hands the keyboard to the sticky behind it.
        const QPointer<StickyPanel> closing = typing->panel();
        typing->close();
        QTRY_VERIFY(closing && closing->isVisible() && closing->windowOpacity() < 1.0);
        QTRY_VERIFY(desk.manager.sticky(binned.id)->panel()->isActiveWindow());
        QTRY_VERIFY(!closing);

        // Typing the page has not reported yet is saved before the AI's delete takes the sticky away.
        type(*desk.manager.sticky(binned.id), " late");
        QList<QUuid> deleted;
        desk.manager.deleteNotesForAgent({binned.id}, QString("Codex"),
                                         [&](QList<QUuid> ids) { deleted = ids; });
        QTRY_COMPARE(deleted, QList<QUuid>{binned.id});
        QVERIFY(!desk.manager.sticky(binned.id));
        QCOMPARE(desk.stored(binned.id).deletedBy, QString("Codex"));
        QVERIFY(desk.stored(binned.id).markdown.contains("late"));
        // The remaining sticky takes the focus the deleted one had.
        QTRY_VERIFY(desk.manager.sticky(kept.id)->panel()->isActiveWindow());

        type(*desk.manager.sticky(kept.id), " unsaved");
        int flushed = -1;
        desk.manager.flushAll([&](int count) { flushed = count; });
        QTRY_COMPARE(flushed, 1);
        QVERIFY(desk.stored(kept.id).markdown.contains("unsaved"));
    }
};

DOVRIN_EDITOR_TEST_MAIN(StickyManagerTest)
#include "StickyManagerTest.moc"
