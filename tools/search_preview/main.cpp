// Shows the real search panel over a handful of notes with a query typed, in the light and the dark
// appearance, and saves captures of it as PNG files for the documentation (tools/screenshots.sh). The
// notes live in a temporary folder, never the user's.
//
//   search_preview <output folder>

#include "app/agent/Provenance.h"
#include "app/shell/SearchPanel.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

using namespace Qt::StringLiterals;

using namespace Dovrin;
using Store::StickyColor;

namespace {

struct Sample {
    QString markdown;
    StickyColor color;
    bool open;
};

// Oldest first; the panel lists the most recently edited first.
const QList<Sample> samples = {
    {u"# Call the dentist\nTuesday before noon, and ask whether the payment plan covers the cleaning"_s,
     StickyColor::pink, false},
    {u"# Book club\nRead chapters 4–6\nPlan snacks for Sunday"_s, StickyColor::gray, true},
    {u"# Garden\nPlant the tomatoes after the last frost\nWater the basil"_s, StickyColor::green, true},
    {u"# Release notes\nDraft the summary for Friday; the changelog still needs the data migration plan "
     "for the sync server"_s,
     StickyColor::purple, false},
    {u"# Weekend trip\n- [x] Book the cabin\n- [ ] Plan the hike to Eagle Lake\n- [ ] Buy trail snacks"_s,
     StickyColor::yellow, true},
    {u"# Q3 planning\nRoadmap review on Thursday\n- [ ] Draft goals\n- [ ] Share with the team"_s,
     StickyColor::blue, false},
};

void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The desktop's dark theme, as a dark GTK or Plasma palette gives it.
QPalette darkPalette() {
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, QColor(0x2B2B2E));
    palette.setColor(QPalette::WindowText, QColor(0xEDEDEF));
    palette.setColor(QPalette::Base, QColor(0x1F1F22));
    palette.setColor(QPalette::Text, QColor(0xEDEDEF));
    palette.setColor(QPalette::Highlight, QColor(0x3584E4));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

// The panel draws its own shadow into its transparent margin; its pixels are laid over a plain backdrop,
// as a desktop shows them (Xvfb has no compositor to do it).
bool capture(Shell::SearchPanel& panel, const QColor& backdrop, const QString& path) {
    const QImage window = panel.grab().toImage();
    QImage canvas(window.size(), QImage::Format_RGB32);
    canvas.setDevicePixelRatio(window.devicePixelRatio());
    canvas.fill(backdrop);
    QPainter(&canvas).drawImage(QPointF(0, 0), window);
    const bool saved = !window.isNull() && canvas.save(path);
    QTextStream(stdout) << (saved ? "wrote " : "could not write ") << path << '\n';
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        QTextStream(stderr) << "usage: search_preview <output folder>\n";
        return 2;
    }
    QTemporaryDir home;
    if (!home.isValid()) {
        QTextStream(stderr) << "cannot create a temporary folder: " << home.errorString() << '\n';
        return 1;
    }
    qputenv("DOVRIN_HOME", QFile::encodeName(home.filePath("data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    QApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(".")) {
        QTextStream(stderr) << "cannot create " << folder.path() << '\n';
        return 1;
    }

    auto store = Store::NoteStore::openInDataDirectory();
    if (!store) {
        QTextStream(stderr) << "cannot open the notes: " << store.error().description << '\n';
        return 1;
    }
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-2);
    for (qsizetype i = 0; i < samples.size(); ++i) {
        const Sample& sample = samples.at(i);
        const auto created = (*store)->create({{sample.markdown, sample.color, {}, {}}}, u"user"_s, {},
                                              start.addSecs(3600 * i));
        if (!created || (!sample.open && !(*store)->close(created->first().id))) {
            QTextStream(stderr) << "cannot store the notes\n";
            return 1;
        }
    }

    Agent::Provenance provenance;
    Stickies::StickyManager manager(**store, provenance);
    Shell::SearchPanel panel(manager, [] { return u"Ctrl+Alt+N"_s; });
    // Away from the panel, so no row shows the pointer's hover.
    QCursor::setPos(0, 0);
    bool ok = true;
    for (const bool dark : {false, true}) {
        if (dark)
            QApplication::setPalette(darkPalette());
        panel.showPanel();
        panel.findChild<QLineEdit*>()->setText(u"plan"_s);
        wait(500);
        ok = capture(panel, dark ? QColor(0x1B1C1F) : QColor(0xE4E6EA),
                     folder.filePath(dark ? u"search-panel-dark.png"_s : u"search-panel.png"_s)) &&
             ok;
    }
    return ok ? 0 : 1;
}
