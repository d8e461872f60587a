// How fast editor pages become ready in QtWebEngine and take a large note. Prints its numbers; they are
// recorded in docs/performance.md.
#include "app/stickies/EditorPage.h"
#include "app/stickies/EditorProfile.h"
#include "app/stickies/EditorScripts.h"
#include "bench/support/EditorBench.h"
#include "bench/support/Measure.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QWebEngineView>

#include <algorithm>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

using namespace Dovrin::Stickies;
using Dovrin::Bench::measure;
using Dovrin::Bench::report;
using Dovrin::Bench::spinUntil;
using Dovrin::Bench::Timing;

namespace {

// An editor page in a sticky-sized view, shown unless asked otherwise.
struct Sticky {
    explicit Sticky(bool shown = true) {
        QObject::connect(&page, &EditorPage::messageReceived, &page,
                         [this](const QString& type, const QJsonObject& body) {
                             if (type != "ready"_L1)
                                 return;
                             ready = true;
                             pageMs = body.value("msSinceNavigation"_L1).toDouble();
                         });
        view.setPage(page.page());
        view.resize(260, 260);
        view.setVisible(shown);
    }

    EditorPage page;
    QWebEngineView view;
    bool ready = false;
    // The page's own count from the start of its navigation to "ready".
    double pageMs = -1;
};

QString largeNote() {
    QString note;
    for (int i = 0; note.size() < 200 * 1024; ++i) {
        note += u"## Section %1\n\n- [ ] a task with **bold** and a [link](https://example.com)\n"
                "- [x] a finished task\n\nA paragraph of ordinary words, long enough to wrap "
                "inside a sticky.\n\n"_s.arg(i);
    }
    return note;
}

void runScript(EditorPage& page, const QString& script, const QJsonObject& arguments) {
    bool answered = false;
    QObject receiver;
    page.call(script, arguments, &receiver, [&](const ScriptResult& result) {
        if (!result)
            qFatal("script failed: %s", qPrintable(result.error().description));
        answered = true;
    });
    if (!spinUntil([&] { return answered; }))
        qFatal("the script never answered");
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    prepareEditorBench(home.path());
    QApplication app(argc, argv);
    QTextStream(stdout) << "editor page: " << editorDistFolder() << "\n";

    std::vector<std::unique_ptr<Sticky>> stickies;
    const auto bootstrap = [&] {
        stickies.push_back(std::make_unique<Sticky>());
        stickies.back()->page.load();
        if (!spinUntil([&] { return stickies.back()->ready; }))
            qFatal("the editor page never became ready");
    };
    report(u"first page ready, engine start included"_s, measure(1, bootstrap));
    report(u"page loaded from scratch ready"_s, measure(10, bootstrap));

    // Every later editor is spawned by the one before it, as the sticky manager does. A sticky and its view
    // exist before its editor is asked for, so only the spawn is timed. All editor pages share one render
    // process, so the spawns are timed with the pages piling up and with only the opener left; a view that
    // is not shown paints nothing, which gives the engine's floor.
    const auto spawnSeries = [&](const QString& name, bool shown, bool keepOthers) {
        std::vector<double> spawnMs;
        std::vector<double> pageMs;
        for (int i = 0; i < 30; ++i) {
            Sticky* opener = stickies.back().get();
            stickies.push_back(std::make_unique<Sticky>(shown));
            Sticky* next = stickies.back().get();
            spinUntil([] { return false; }, 20);
            opener->page.setWindowHandler([next](const QUrl&) { return &next->page; });
            QElapsedTimer timer;
            timer.start();
            opener->page.openWindow();
            if (!spinUntil([&] { return next->ready; }))
                qFatal("the spawned editor page never became ready");
            spawnMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            pageMs.push_back(next->pageMs);
            opener->page.setWindowHandler({});
            if (!keepOthers)
                stickies.erase(stickies.begin(), stickies.end() - 1);
        }
        report(name, Dovrin::Bench::timingOf(spawnMs));
        report(u"… of which the page's own navigation to ready"_s, Dovrin::Bench::timingOf(pageMs));
    };
    spawnSeries(u"spawned page ready, 11 to 40 editors open"_s, true, true);
    spawnSeries(u"spawned page ready, only its opener open"_s, true, false);
    spawnSeries(u"spawned page ready, only its opener open, view not shown"_s, false, false);

    const QString note = largeNote();
    EditorPage& page = stickies.back()->page;
    report(
        u"fill a 200 KB note"_s, measure(10, [&] {
            runScript(page, EditorScripts::fill, {{"markdown", note}, {"color", "yellow"}, {"focus", true}});
        }));
    report(u"read the 200 KB note back"_s,
           measure(10, [&] { runScript(page, EditorScripts::getMarkdown, {}); }));
    stickies.clear();
    return 0;
}
