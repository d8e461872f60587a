// The search panel over a handful of notes with a query typed, light and dark. The panel draws its own
// shadow, so its pixels are laid over a plain backdrop, as a desktop shows them.

#include "app/agent/Provenance.h"
#include "app/shell/SearchPanel.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"
#include "tools/window_preview/Preview.h"

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QPainter>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace Dovrin::Preview {

namespace {

using Store::StickyColor;

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

// The panel draws its own shadow into its transparent margin; its pixels are laid over a plain backdrop,
// as a desktop shows them (Xvfb has no compositor to do it).
bool captureOnBackdrop(Shell::SearchPanel& panel, const QColor& backdrop, const QString& path) {
    const QImage window = panel.grab().toImage();
    QImage canvas(window.size(), QImage::Format_RGB32);
    canvas.setDevicePixelRatio(window.devicePixelRatio());
    canvas.fill(backdrop);
    QPainter(&canvas).drawImage(QPointF(0, 0), window);
    const bool saved = !window.isNull() && canvas.save(path);
    QTextStream(stdout) << (saved ? "wrote " : "could not write ") << path << '\n';
    return saved;
}

bool searchPanel(const QDir& folder) {
    auto store = Store::NoteStore::openInDataDirectory();
    if (!store) {
        QTextStream(stderr) << "cannot open the notes: " << store.error().description << '\n';
        return false;
    }
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-2);
    for (qsizetype i = 0; i < samples.size(); ++i) {
        const Sample& sample = samples.at(i);
        const auto created = (*store)->create({{sample.markdown, sample.color, {}, {}}}, u"user"_s, {},
                                              start.addSecs(3600 * i));
        if (!created || (!sample.open && !(*store)->close(created->first().id))) {
            QTextStream(stderr) << "cannot store the notes\n";
            return false;
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
        ok = captureOnBackdrop(panel, dark ? QColor(0x1B1C1F) : QColor(0xE4E6EA),
                               folder.filePath(dark ? u"search-panel-dark.png"_s : u"search-panel.png"_s)) &&
             ok;
    }
    return ok;
}

const Registration registration(u"search-panel"_s, searchPanel);

} // namespace

} // namespace Dovrin::Preview
