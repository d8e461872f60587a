// How fast the slash menu answers the editor page: from the page's "slash" message to the menu shown and
// painted, and from a key typed into the editor to the menu filtered by it and painted again. A real
// sticky with the real editor page, offscreen. Prints its numbers; they are recorded in docs/performance.md.
#include "app/stickies/EditorPage.h"
#include "app/stickies/EditorProfile.h"
#include "app/stickies/SlashMenu.h"
#include "app/stickies/SlashMenuModel.h"
#include "app/stickies/StickyController.h"
#include "app/stickies/StickyPanel.h"
#include "app/store/NoteStore.h"
#include "bench/support/EditorBench.h"
#include "bench/support/Measure.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWebEngineView>

#include <vector>

using namespace Qt::StringLiterals;

using namespace Dovrin;
using namespace Dovrin::Stickies;
using Dovrin::Bench::report;
using Dovrin::Bench::spinUntil;
using Dovrin::Bench::timingOf;

namespace {

// Counts the paints of a widget, so a step can wait until its result is on screen.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void typeKey(QWidget* target, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

QJsonObject slashMessage(const QString& state, const QString& query) {
    return {{"type", "slash"},
            {"state", state},
            {"query", query},
            {"rect", QJsonObject{{"x", 8}, {"y", 10}, {"width", 0}, {"height", 18}}}};
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    prepareEditorBench(home.path());
    QApplication app(argc, argv);

    auto store = Store::NoteStore::open(home.filePath("Dovrin.sqlite")).value();
    const Store::Note note = store
                                 ->create({{"", Store::StickyColor::yellow, QRectF(100, 200, 260, 300), {}}},
                                          "user", {}, QDateTime::currentDateTimeUtc())
                                 .value()
                                 .first();
    StickyController sticky(*store, note, true);
    auto* page = new EditorPage;
    sticky.attachEditor(page);
    sticky.panel()->show();
    page->load();
    if (!spinUntil([&] { return sticky.isEditorReady() && sticky.webView()->focusProxy(); }))
        qFatal("the editor page never became ready");
    QWidget* editor = sticky.webView()->focusProxy();

    // The first "/" makes the menu's window; what follows is timed on the made window.
    typeKey(editor, Qt::Key_Slash, u"/"_s);
    SlashMenu* menu = nullptr;
    if (!spinUntil(
            [&] { return (menu = sticky.panel()->findChild<SlashMenu*>()) && menu->window()->isVisible(); }))
        qFatal("the slash menu never showed");
    PaintCounter painted(menu);
    SlashMenuModel& model = menu->model();

    // Key → the page's "slash" update → the menu filtered and painted, through the real page.
    std::vector<double> keyMs;
    QElapsedTimer timer;
    for (int i = 0; i < 100; ++i) {
        const bool adding = i % 2 == 0;
        const QString expected = adding ? u"h"_s : QString();
        spinUntil([] { return false; }, 5);
        const int before = painted.paints;
        timer.start();
        if (adding)
            typeKey(editor, Qt::Key_H, u"h"_s);
        else
            typeKey(editor, Qt::Key_Backspace, QString());
        if (!spinUntil([&] { return model.query() == expected && painted.paints > before; }, 10000))
            qFatal("the menu was not filtered by the key");
        keyMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    report(u"key typed into the editor → menu filtered and painted"_s, timingOf(keyMs));
    typeKey(editor, Qt::Key_Escape, QString());
    if (!spinUntil([&] { return !menu->window()->isVisible(); }, 10000))
        qFatal("the menu did not close");

    // The app's own share: a "slash" message handed over → the menu shown (or filtered) and painted.
    std::vector<double> openMs;
    std::vector<double> openHandledMs;
    std::vector<double> filterMs;
    for (int i = 0; i < 100; ++i) {
        spinUntil([] { return false; }, 5);
        int before = painted.paints;
        timer.start();
        emit page->messageReceived(u"slash"_s, slashMessage(u"open"_s, QString()));
        openHandledMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!spinUntil([&] { return menu->window()->isVisible() && painted.paints > before; }, 10000))
            qFatal("the menu did not show");
        openMs.push_back(double(timer.nsecsElapsed()) / 1e6);

        spinUntil([] { return false; }, 5);
        before = painted.paints;
        timer.start();
        emit page->messageReceived(u"slash"_s, slashMessage(u"update"_s, i % 2 ? u"h"_s : u"ti"_s));
        if (!spinUntil([&] { return painted.paints > before; }, 10000))
            qFatal("the menu was not painted again");
        filterMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        emit page->messageReceived(u"slash"_s, QJsonObject{{"type", "slash"}, {"state", "close"}});
    }
    report(u"\"slash\" message → menu shown and painted"_s, timingOf(openMs));
    report(u"… of which handling the message (filter, lay out, place, show)"_s, timingOf(openHandledMs));
    report(u"\"slash\" update message → menu filtered and painted"_s, timingOf(filterMs));
    return 0;
}
