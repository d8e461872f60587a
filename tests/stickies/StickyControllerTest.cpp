#include "app/stickies/StickyController.h"
#include "app/core/ScreenSpace.h"
#include "app/stickies/EditorScripts.h"
#include "app/stickies/ImageStore.h"
#include "app/stickies/StickyPanel.h"
#include "app/store/NoteStore.h"
#include "tests/stickies/EditorTestSupport.h"
#include "tests/support/ManualClock.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWebEngineView>

#include <memory>

using namespace Qt::StringLiterals;

using namespace Dovrin;
using namespace Dovrin::Stickies;
using Status = StickyController::EditOutcome::Status;

namespace {

// A 1 × 1 PNG.
const char* const pixelPng =
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==";

// A database in a temporary folder with one note in it, and a clock that moves only when told.
struct Desk {
    explicit Desk(const QString& markdown, const QRectF& frame = {100, 200, 260, 300}) {
        store = Store::NoteStore::open(folder.filePath("Dovrin.sqlite")).value();
        note = store->create({{markdown, Store::StickyColor::yellow, frame, {}}}, "user", {}, clock.now())
                   .value()
                   .first();
    }

    Store::Note stored() const { return store->note(note.id).value().value_or(Store::Note()); }

    QTemporaryDir folder;
    std::unique_ptr<Store::NoteStore> store;
    Agent::ManualClock clock;
    Store::Note note;
};

// A shown sticky holding the real editor page, filled and focused.
struct OpenSticky {
    explicit OpenSticky(Desk& desk) : controller(*desk.store, desk.note, true, desk.clock) {
        controller.attachEditor(page);
        controller.panel()->show();
        page->load();
    }

    bool waitUntilReady() {
        return QTest::qWaitFor([&] { return controller.isEditorReady(); }, 15000);
    }
    void type(const QString& text) {
        QTRY_VERIFY(controller.webView()->focusProxy());
        QTest::keyClicks(controller.webView()->focusProxy(), text);
    }

    EditorPage* page = new EditorPage;
    StickyController controller;
};

StickyController::EditOutcome applyAndWait(StickyController& controller, const QString& markdown,
                                           qint64 baseRev) {
    std::optional<StickyController::EditOutcome> outcome;
    controller.applyExternalEdit(markdown, baseRev, "Claude", Store::AgentLabel::Action::edited,
                                 [&](StickyController::EditOutcome answer) { outcome = answer; });
    if (!QTest::qWaitFor([&] { return outcome.has_value(); }, 10000))
        return {Status::unsaved, -1, u"<no answer>"_s};
    return *outcome;
}

} // namespace

class StickyControllerTest final : public QObject {
    Q_OBJECT

private slots:
    void typing_isSavedAsTheNextRevision() {
        Desk desk("Hello");
        OpenSticky sticky(desk);
        QVERIFY(sticky.waitUntilReady());
        QCOMPARE(callAndWaitText(*sticky.page), u"Hello"_s);
        const qint64 rev = desk.note.rev;

        sticky.type(" world");
        QTRY_COMPARE_WITH_TIMEOUT(desk.stored().markdown, u"Hello world"_s, 5000);
        QCOMPARE(desk.stored().rev, rev + 1);
        QCOMPARE(desk.stored().agentLabel, std::nullopt);
        QCOMPARE(sticky.controller.note().rev, rev + 1);

        // Saving or flushing what is already stored raises nothing.
        sticky.controller.save("Hello world");
        bool flushed = false;
        sticky.controller.flush([&] { flushed = true; });
        QTRY_VERIFY(flushed);
        QCOMPARE(desk.stored().rev, rev + 1);
        QCOMPARE(sticky.controller.note().rev, rev + 1);
    }

    void agentEdit_mergesWithTheUsersTypingOrConflicts() {
        Desk desk("one\n\ntwo\n\nthree");
        OpenSticky sticky(desk);
        QVERIFY(sticky.waitUntilReady());
        const qint64 base = desk.note.rev;
        sticky.type(" typed");
        QTRY_COMPARE_WITH_TIMEOUT(desk.stored().markdown, u"one\n\ntwo\n\nthree typed"_s, 5000);

        auto outcome = applyAndWait(sticky.controller, "one by the AI\n\ntwo\n\nthree", base);
        QCOMPARE(outcome.status, Status::applied);
        QCOMPARE(outcome.rev, desk.stored().rev);
        QCOMPARE(desk.stored().markdown, u"one by the AI\n\ntwo\n\nthree typed"_s);
        QCOMPARE(desk.stored().agentLabel->agent, u"Claude"_s);
        QCOMPARE(callAndWaitText(*sticky.page), desk.stored().markdown);

        outcome = applyAndWait(sticky.controller, "ahead", outcome.rev + 1);
        QCOMPARE(outcome.status, Status::conflict);
        QCOMPARE(outcome.rev, desk.stored().rev);
        QCOMPARE(outcome.markdown, desk.stored().markdown);

        // Only the last 64 revisions are kept to merge against: the oldest still merges, the one before not.
        for (int i = 0; i < int(StickyController::keptRevisions); ++i)
            QVERIFY(
                applyAndWait(sticky.controller, u"version %1\n\nend"_s.arg(i), desk.stored().rev).status ==
                Status::applied);
        const qint64 oldest = desk.stored().rev - qint64(StickyController::keptRevisions) + 1;
        QTest::ignoreMessage(QtInfoMsg,
                             QRegularExpression("reason=baseRev " + QString::number(oldest - 1) +
                                                " no longer kept rev=" + QString::number(desk.stored().rev)));
        QCOMPARE(applyAndWait(sticky.controller, "late", oldest - 1).status, Status::conflict);
        QCOMPARE(applyAndWait(sticky.controller, "version 0\n\nend by the AI", oldest).status,
                 Status::applied);
        QCOMPARE(desk.stored().markdown, u"version 63\n\nend by the AI"_s);
    }

    void agentEdit_beforeTheEditorIsReady_needsTheCurrentRev() {
        Desk desk("first");
        StickyController controller(*desk.store, desk.note, false, desk.clock);
        const qint64 rev = desk.note.rev;
        auto outcome = applyAndWait(controller, "second", rev);
        QCOMPARE(outcome.status, Status::applied);
        QCOMPARE(outcome.rev, rev + 1);
        QCOMPARE(desk.stored().markdown, u"second"_s);
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression("reason=editor loading, rev moved on"));
        outcome = applyAndWait(controller, "third", rev);
        QCOMPARE(outcome.status, Status::conflict);
        QCOMPARE(outcome.rev, rev + 1);
        QCOMPARE(outcome.markdown, u"second"_s);
    }

    void burstOfMoves_savesTheWindowStateOnceAfterTheLast() {
        Desk desk("moved");
        StickyController controller(*desk.store, desk.note, false, desk.clock);
        controller.panel()->show();
        QCoreApplication::processEvents();
        desk.clock.advance(StickyController::windowSaveDelayMs);
        const QRectF before = desk.stored().frame;

        for (int step = 1; step <= 5; ++step) {
            controller.panel()->move(controller.panel()->pos() + QPoint(10, 0));
            QCoreApplication::processEvents();
            desk.clock.advance(100);
            QCOMPARE(desk.stored().frame, before);
            QCOMPARE(desk.clock.pendingCount(), 1);
        }
        desk.clock.advance(StickyController::windowSaveDelayMs - 101);
        QCOMPARE(desk.stored().frame, before);
        desk.clock.advance(1);
        QCOMPARE(desk.clock.pendingCount(), 0);
        QCOMPARE(desk.stored().frame, before.translated(50, 0));
        QCOMPARE(controller.note().frame, desk.stored().frame);
    }

    void collapseAndExpand_keepTheTopEdgeAndHeight() {
        // Gliding, and at once when the desktop asks for less motion.
        Dovrin::Testing::TemporaryHome home;
        for (const bool reduced : {false, true}) {
            QFile settings(home.configFile("gtk-3.0/settings.ini"));
            QVERIFY(settings.open(QIODevice::WriteOnly));
            settings.write(reduced ? "[Settings]\ngtk-enable-animations=false\n" : "[Settings]\n");
            settings.close();

            Desk desk("tall");
            StickyController controller(*desk.store, desk.note, false, desk.clock);
            controller.panel()->show();
            const QRect expanded = controller.panel()->geometry();
            QCOMPARE(expanded.height(), 300);

            controller.toggleCollapsed();
            QCOMPARE(controller.panel()->isAnimatingFrame(), !reduced);
            QTRY_COMPARE(controller.panel()->geometry(),
                         QRect(expanded.topLeft(), QSize(expanded.width(), 32)));
            desk.clock.advance(StickyController::windowSaveDelayMs);
            QVERIFY(desk.stored().isCollapsed);
            QCOMPARE(desk.stored().frame, desk.note.frame);

            controller.toggleCollapsed();
            QTRY_COMPARE(controller.panel()->geometry(), expanded);
            desk.clock.advance(StickyController::windowSaveDelayMs);
            QVERIFY(!desk.stored().isCollapsed);
            QCOMPARE(desk.stored().frame, desk.note.frame);

            // A collapsed sticky opens as its strip and expands to the stored size.
            controller.toggleCollapsed();
            QTRY_VERIFY(!controller.panel()->isAnimatingFrame());
            controller.saveWindowStateNow();
            StickyController reopened(*desk.store, desk.stored(), false, desk.clock);
            reopened.panel()->show();
            QCOMPARE(reopened.panel()->geometry(), QRect(expanded.topLeft(), QSize(expanded.width(), 32)));
            reopened.toggleCollapsed();
            QTRY_COMPARE(reopened.panel()->geometry(), expanded);
        }
    }

    void close_discardsAnEmptyNoteAndKeepsAWrittenOne() {
        Desk empty("");
        StickyController blank(*empty.store, empty.note, false, empty.clock);
        std::optional<bool> discarded;
        blank.close([&](bool answer) { discarded = answer; });
        QTRY_VERIFY(discarded.has_value());
        QVERIFY(*discarded);
        QCOMPARE(empty.store->note(empty.note.id).value(), std::nullopt);

        // Typing the page holds when the sticky closes is flushed, whether or not the page reported it yet.
        Desk written("");
        OpenSticky sticky(written);
        QVERIFY(sticky.waitUntilReady());
        sticky.type("Kept");
        QTRY_COMPARE(callAndWaitText(*sticky.page), u"Kept"_s);
        discarded.reset();
        sticky.controller.close([&](bool answer) { discarded = answer; });
        QTRY_VERIFY_WITH_TIMEOUT(discarded.has_value(), 10000);
        QVERIFY(!*discarded);
        QCOMPARE(written.stored().markdown, u"Kept"_s);
        QVERIFY(!written.stored().isOpen);
    }

    void imageFromThePage_isStoredAndSavedInTheNote() {
        Desk desk("Picture:");
        OpenSticky sticky(desk);
        QVERIFY(sticky.waitUntilReady());
        QVERIFY(Testing::callAndWait(*sticky.page, EditorScripts::insertImageFile,
                                     {{"mime", "image/png"}, {"data", pixelPng}})
                    ->ok());
        QTRY_VERIFY_WITH_TIMEOUT(desk.stored().markdown.contains(imageUrlPrefix), 5000);
        const auto stored =
            QRegularExpression(R"(app://local/images/([0-9a-f-]{36}\.png))").match(desk.stored().markdown);
        QVERIFY2(stored.hasMatch(), qPrintable(desk.stored().markdown));
        QVERIFY(QFileInfo::exists(*imagesFolder() + "/" + stored.captured(1)));

        // Bytes that are not base64 are answered with null and leave the note as it was.
        const QString before = desk.stored().markdown;
        QVERIFY(Testing::callAndWait(*sticky.page, EditorScripts::insertImageFile,
                                     {{"mime", "image/png"}, {"data", "@@not base64@@"}})
                    ->ok());
        QTRY_COMPARE(callAndWaitText(*sticky.page), before);
        desk.clock.advance(StickyController::windowSaveDelayMs);
        QCOMPARE(desk.stored().markdown, before);
    }

private:
    static QString callAndWaitText(EditorPage& page) {
        const auto answer = Testing::callAndWait(page, EditorScripts::getMarkdown);
        return answer && answer->ok() ? answer->value().toString() : u"<no answer>"_s;
    }
};

DOVRIN_EDITOR_TEST_MAIN(StickyControllerTest)
#include "StickyControllerTest.moc"
