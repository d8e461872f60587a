#include "app/stickies/EditorPopovers.h"
#include "app/stickies/EditorScripts.h"
#include "app/stickies/FormatBar.h"
#include "app/stickies/ImageStore.h"
#include "app/stickies/LinkEditor.h"
#include "app/stickies/LinkHoverCard.h"
#include "app/stickies/PillButton.h"
#include "app/stickies/SlashMenu.h"
#include "app/stickies/StickyController.h"
#include "app/stickies/StickyPanel.h"
#include "app/store/NoteStore.h"
#include "tests/stickies/EditorTestSupport.h"
#include "tests/support/ManualClock.h"

#include <QAccessible>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QWebEngineView>

#include <memory>

using namespace Qt::StringLiterals;

using namespace Dovrin;
using namespace Dovrin::Stickies;
using Dovrin::Testing::callAndWait;

namespace {

// A 1 × 1 PNG.
const char* const pixelPng =
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==";

// One note in a database of its own, open in a shown sticky with the real editor page, focused. `frame`
// is in y-up coordinates; the offscreen screen is 800 × 600.
struct Sticky {
    explicit Sticky(const QString& markdown, const QRectF& frame = {100, 200, 260, 300}) {
        store = Store::NoteStore::open(folder.filePath("Dovrin.sqlite")).value();
        const Store::Note note =
            store->create({{markdown, Store::StickyColor::yellow, frame, {}}}, "user", {}, clock.now())
                .value()
                .first();
        controller = std::make_unique<StickyController>(*store, note, true, clock);
        controller->attachEditor(page);
        controller->panel()->show();
        page->load();
    }

    // Ready, and every command the app sends to the page is recorded in the page as it runs.
    bool start() {
        return QTest::qWaitFor([&] { return controller->isEditorReady(); }, 15000) &&
               QTest::qWaitFor([&] { return editor() != nullptr; }) &&
               callAndWait(*page, u"window.sent = [];\n"
                                  "const run = dovrin.runCommand.bind(dovrin);\n"
                                  "dovrin.runCommand = (id, arg) => { sent.push(id); run(id, arg); };"_s)
                   ->ok();
    }

    QWidget* editor() const { return controller->webView()->focusProxy(); }
    void type(const QString& text) const { QTest::keyClicks(editor(), text); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const {
        QTest::keyClick(editor(), key, modifiers);
    }
    QString markdown() const { return callAndWait(*page, EditorScripts::getMarkdown)->value().toString(); }
    QStringList sent() const {
        return callAndWait(*page, u"return sent"_s)->value().toVariant().toStringList();
    }
    template <typename View> View* overlay() const { return controller->panel()->findChild<View*>(); }
    template <typename View> bool shows() const {
        return overlay<View>() && overlay<View>()->window()->isVisible();
    }
    QStringList menuIds() const {
        if (!overlay<SlashMenu>())
            return {u"<no menu>"_s};
        QStringList ids;
        for (const SlashItem& item : overlay<SlashMenu>()->model().matches())
            ids.append(item.id);
        return ids;
    }
    // The last rectangle the page reported for a message type, on the screen in Qt's coordinates.
    QRect reported(const QString& type) const {
        const QJsonObject rect = log.last(type).value("rect").toObject();
        return {controller->webView()->mapToGlobal(QPoint(rect.value("x").toInt(), rect.value("y").toInt())),
                QSize(rect.value("width").toInt(), rect.value("height").toInt())};
    }
    bool editorHasFocus() const {
        return controller->panel()->isActiveWindow() && QApplication::focusWidget() == editor() &&
               callAndWait(*page, u"return document.hasFocus() && "
                                  "document.activeElement.classList.contains('ProseMirror')"_s)
                   ->value()
                   .toBool();
    }

    QTemporaryDir folder;
    std::unique_ptr<Store::NoteStore> store;
    Agent::ManualClock clock;
    EditorPage* page = new EditorPage;
    Testing::MessageLog log{*page};
    std::unique_ptr<StickyController> controller;
};

// The button of an overlay that reads `text`.
PillButton* button(const QWidget* overlay, const QString& text) {
    for (PillButton* button : overlay->findChildren<PillButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

} // namespace

class EditorPopoversTest final : public QObject {
    Q_OBJECT

private slots:
    void slashMenu_filtersMovesAndRunsTheChosenBlock() {
        Sticky sticky("");
        QVERIFY(sticky.start());
        sticky.type("/");
        QTRY_VERIFY(sticky.shows<SlashMenu>());
        QCOMPARE(sticky.menuIds().size(), slashItems().size());
        // Under the caret, its glyphs just left of the slash.
        const QRect caret = sticky.reported("slash");
        const QRect menu = sticky.overlay<SlashMenu>()->window()->geometry();
        QCOMPARE(menu.top(), caret.bottom() + 1 + 6);
        QCOMPARE(menu.left(), caret.left() - 14);

        sticky.type("check");
        QTRY_COMPARE(sticky.menuIds(), QStringList{"todo"});
        SlashMenuModel separator;
        separator.setQuery(u"sep"_s);
        QCOMPARE(separator.matches().first().id, u"divider"_s);
        for (int i = 0; i < 5; ++i)
            sticky.key(Qt::Key_Backspace);
        sticky.type("h");
        QTRY_COMPARE(sticky.menuIds(), QStringList({"h1", "h2", "h3", "divider"}));
        sticky.key(Qt::Key_Backspace);
        sticky.type("ti");
        QTRY_COMPARE(sticky.menuIds(), QStringList{"h1"});
        sticky.key(Qt::Key_Backspace);
        sticky.key(Qt::Key_Backspace);
        QTRY_COMPARE(sticky.menuIds().size(), slashItems().size());
        sticky.key(Qt::Key_Up);
        QTRY_COMPARE(sticky.overlay<SlashMenu>()->model().selected(), int(slashItems().size()) - 1);
        sticky.key(Qt::Key_Escape);
        QTRY_VERIFY(!sticky.shows<SlashMenu>());
        sticky.key(Qt::Key_Backspace);
        QTRY_COMPARE(sticky.markdown(), QString());

        // Return runs the block; what is typed right after it is not lost to the command.
        sticky.type("/todo");
        sticky.key(Qt::Key_Return);
        sticky.type("milk");
        QTRY_COMPARE(sticky.markdown(), u"- [ ] milk"_s);
        QVERIFY(!sticky.shows<SlashMenu>());

        // Nothing matches: the menu says so, and Return only closes it.
        sticky.type(" /zzz");
        QTRY_VERIFY(sticky.shows<SlashMenu>() && sticky.menuIds().isEmpty());
        QCOMPARE(sticky.overlay<SlashMenu>()->emptyText(), u"No results for “zzz”"_s);
        sticky.key(Qt::Key_Return);
        QTRY_VERIFY(sticky.sent().endsWith("slash:close"));
        QTRY_VERIFY(!sticky.shows<SlashMenu>());
        QCOMPARE(sticky.markdown(), u"- [ ] milk /zzz"_s);
    }

    void slashMenu_nearTheBottomOfTheScreen_opensAboveTheCaretAndTakesClicks() {
        Sticky sticky("eggs", {100, 0, 260, 160});
        QVERIFY(sticky.start());
        sticky.type(" /");
        QTRY_VERIFY(sticky.shows<SlashMenu>());
        const QRect caret = sticky.reported("slash");
        const QRect menu = sticky.overlay<SlashMenu>()->window()->geometry();
        QCOMPARE(menu.bottom() + 1, caret.top() - 6);

        // A click on a row runs it like Return.
        sticky.type("quo");
        QTRY_COMPARE(sticky.menuIds(), QStringList{"quote"});
        QTest::mouseClick(sticky.overlay<SlashMenu>(), Qt::LeftButton, {},
                          QPoint(60, SlashMenu::rowHeight / 2));
        QTRY_COMPARE(sticky.markdown(), u"> eggs"_s);
        QVERIFY(!sticky.shows<SlashMenu>());
    }

    void imageItem_insertsThePickedFile() {
        QTemporaryDir files;
        QFile picture(files.filePath("pixel.png"));
        QVERIFY(picture.open(QIODevice::WriteOnly));
        picture.write(QByteArray::fromBase64(pixelPng));
        picture.close();
        Sticky sticky("Picture:");
        QVERIFY(sticky.start());
        sticky.type(" /img");
        QTRY_COMPARE(sticky.menuIds(), QStringList{"image"});
        sticky.key(Qt::Key_Return);
        QFileDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = sticky.controller->panel()->findChild<QFileDialog*>()) && dialog->isVisible());
        QVERIFY(dialog->nameFilters().first().contains("*.png"));
        // As typed into the dialog's file name field.
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(picture.fileName());
        QMetaObject::invokeMethod(dialog, "accept");
        QTRY_VERIFY_WITH_TIMEOUT(sticky.markdown().contains(imageUrlPrefix), 5000);
        QVERIFY2(!sticky.markdown().contains("/img"), qPrintable(sticky.markdown()));
    }

    void formatBar_showsActiveMarksAndTogglesThem() {
        Sticky sticky("**bold words**");
        QVERIFY(sticky.start());
        sticky.key(Qt::Key_A, Qt::ControlModifier);
        QTRY_VERIFY(sticky.shows<FormatBar>());
        const QList<FormatBarButton*> buttons = sticky.overlay<FormatBar>()->findChildren<FormatBarButton*>();
        QCOMPARE(buttons.size(), 5);
        FormatBarButton* bold = buttons.first();
        QTRY_VERIFY(bold->isActive());
        QVERIFY(!buttons.at(1)->isActive());
        QCOMPARE(bold->size(), QSize(28, 24));
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(bold);
        QCOMPARE(accessible->text(QAccessible::Name), u"Bold"_s);
        QCOMPARE(accessible->role(), QAccessible::Button);
        QVERIFY(accessible->state().selected);
        // Above the selection.
        QCOMPARE(sticky.overlay<FormatBar>()->window()->geometry().bottom() + 1,
                 sticky.reported("selection").top() - 6);

        // A press leaves the keyboard where it was.
        const QWidget* focused = QApplication::focusWidget();
        QTest::mouseClick(bold, Qt::LeftButton);
        QTRY_COMPARE(sticky.markdown(), u"bold words"_s);
        QTRY_VERIFY(!bold->isActive());
        QVERIFY(!accessible->state().selected);
        QCOMPARE(QApplication::focusWidget(), focused);
        QVERIFY(sticky.controller->panel()->isActiveWindow());
    }

    void linkEditor_savesRemovesAndCancels() {
        Sticky sticky("word");
        QVERIFY(sticky.start());
        const auto openEditor = [&] {
            sticky.key(Qt::Key_A, Qt::ControlModifier);
            sticky.key(Qt::Key_K, Qt::ControlModifier);
            return QTest::qWaitFor([&] { return sticky.shows<LinkEditor>(); });
        };
        QVERIFY(openEditor());
        LinkEditor* editor = sticky.overlay<LinkEditor>();
        QVERIFY(!sticky.shows<FormatBar>());
        QCOMPARE(editor->field()->placeholderText(), u"Paste or type a link"_s);
        QVERIFY(button(editor, "Remove Link")->isHidden());
        QVERIFY(button(editor, "Save")->isProminent());
        // A text with a colon is taken as typed.
        editor->model().setUrl(u" mailto:me@example.com\n"_s);
        QCOMPARE(editor->model().saveCommand(),
                 (PageCommand{u"link:set"_s, {{"href", "mailto:me@example.com"}}}));
        editor->model().setUrl(QString());
        QTest::keyClicks(editor->field(), "example.com");
        QTest::keyClick(editor->field(), Qt::Key_Return);
        QTRY_COMPARE(sticky.markdown(), u"[word](https://example.com)"_s);
        QTRY_VERIFY(sticky.editorHasFocus());

        // An existing link: emptied and saved, it goes.
        QVERIFY(openEditor());
        QCOMPARE(editor->field()->text(), u"https://example.com"_s);
        QVERIFY(!button(editor, "Remove Link")->isHidden());
        editor->field()->selectAll();
        QTest::keyClick(editor->field(), Qt::Key_Backspace);
        QTest::keyClick(editor->field(), Qt::Key_Return);
        QTRY_COMPARE(sticky.markdown(), u"word"_s);
        QTRY_VERIFY(sticky.editorHasFocus());

        // Clicking elsewhere dismisses it: the page hears "link:cancel" and the editor has the keyboard.
        QVERIFY(openEditor());
        QTest::keyClicks(editor->field(), "never.saved");
        // Through the window system, as a real click reaches an open popup; below it, on the note.
        QTest::mouseClick(sticky.controller->panel()->windowHandle(), Qt::LeftButton, {},
                          QPoint(20, sticky.controller->panel()->height() - 20));
        QTRY_VERIFY(!sticky.shows<LinkEditor>());
        QTRY_COMPARE(sticky.sent().last(), u"link:cancel"_s);
        QTRY_VERIFY(sticky.editorHasFocus());
        QCOMPARE(sticky.markdown(), u"word"_s);
        QCOMPARE(sticky.sent(), QStringList({"link:set", "link:remove", "link:cancel"}));
    }

    void hoverCard_copiesTheLinkAndHidesAfterTheMouseLeaves() {
        Sticky sticky("[site](https://example.com/a)");
        QVERIFY(sticky.start());
        const auto report = [&](const QString& mode) {
            const QJsonValue rect =
                mode == "hover"_L1
                    ? QJsonValue(QJsonObject{{"x", 10}, {"y", 10}, {"width", 40}, {"height", 16}})
                    : QJsonValue();
            emit sticky.page->messageReceived("link", {{"type", "link"},
                                                       {"mode", mode},
                                                       {"href", "https://example.com/a"},
                                                       {"rect", rect},
                                                       {"pos", 1}});
        };
        report("hover");
        QVERIFY(sticky.shows<LinkHoverCard>());
        LinkHoverCard* card = sticky.overlay<LinkHoverCard>();
        QTest::mouseClick(button(card, "Copy"), Qt::LeftButton);
        QVERIFY(!sticky.shows<LinkHoverCard>());
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(copied->text(), u"https://example.com/a"_s);
        QCOMPARE(copied->urls(), QList<QUrl>{QUrl("https://example.com/a")});

        // The card waits 0.4 s after the mouse left the link, and stays while the mouse is over it.
        report("hover");
        report("leave");
        sticky.clock.advance(EditorPopovers::hoverHideDelayMs - 1);
        QVERIFY(sticky.shows<LinkHoverCard>());
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(card->window(), &enter);
        sticky.clock.advance(EditorPopovers::hoverHideDelayMs);
        QVERIFY(sticky.shows<LinkHoverCard>());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(card->window(), &leave);
        sticky.clock.advance(EditorPopovers::hoverHideDelayMs);
        QVERIFY(!sticky.shows<LinkHoverCard>());

        // "Remove" asks the page to take the link off.
        report("hover");
        QTest::mouseClick(button(card, "Remove"), Qt::LeftButton);
        QTRY_COMPARE(sticky.markdown(), u"site"_s);
        QVERIFY(!sticky.shows<LinkHoverCard>());
    }

    void stickyHiding_closesItsOverlays() {
        Sticky sticky("**bold**");
        QVERIFY(sticky.start());
        sticky.key(Qt::Key_A, Qt::ControlModifier);
        QTRY_VERIFY(sticky.shows<FormatBar>());
        // They travel with the sticky.
        const QPoint before = sticky.overlay<FormatBar>()->window()->pos();
        sticky.controller->panel()->move(sticky.controller->panel()->pos() + QPoint(30, 20));
        QTRY_COMPARE(sticky.overlay<FormatBar>()->window()->pos(), before + QPoint(30, 20));
        sticky.controller->panel()->hide();
        QVERIFY(!sticky.shows<FormatBar>());
    }
};

DOVRIN_EDITOR_TEST_MAIN(EditorPopoversTest)
#include "EditorPopoversTest.moc"
