// The "Software Update" window offering a new version with its release notes, in the light and the dark
// palette. The release is made up on the spot: nothing is fetched.

#include "app/shell/UpdateWindow.h"
#include "app/shell/Updater.h"
#include "tools/window_preview/Preview.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace Dovrin::Preview {

namespace {

Shell::AppcastItem sampleRelease() {
    Shell::AppcastItem item;
    item.title = u"Dovrin 0.2.0"_s;
    item.version = u"2"_s;
    item.displayVersion = u"0.2.0"_s;
    item.descriptionHtml =
        u"<h3>What’s new</h3><ul>"
        "<li>Search also finds words inside todos and code blocks.</li>"
        "<li>Stickies remember their screen when a monitor is unplugged, and come back to it.</li>"
        "<li>Ask your AI to keep a note on top: like every AI change, it is labelled and can be undone.</li>"
        "</ul><h3>Fixes</h3><ul>"
        "<li>A collapsed sticky keeps its width after a restart.</li>"
        "<li>Pasting a link onto selected text links the text instead of replacing it.</li></ul>"_s;
    item.url = QUrl(u"https://example.com/dovrin_0.2.0_amd64.deb"_s);
    item.length = 41'200'000;
    return item;
}

bool update(const QDir& folder) {
    Shell::UpdaterSetup setup;
    setup.feedUrl = QUrl(u"https://example.com/appcast.xml"_s);
    setup.version = u"1"_s;
    setup.displayVersion = u"0.1.0"_s;
    setup.runsInstalledCopy = true;
    Shell::Updater updater(setup);
    Shell::UpdateWindow window(updater);
    updater.offerUpdate(sampleRelease());
    wait(300);
    bool saved = capture(window, folder, u"update.png"_s);
    const QPalette light = QApplication::palette();
    QApplication::setPalette(darkPalette());
    wait(300);
    saved = capture(window, folder, u"update-dark.png"_s) && saved;
    QApplication::setPalette(light);
    return saved;
}

const Registration registration(u"update"_s, update);

} // namespace

} // namespace Dovrin::Preview
