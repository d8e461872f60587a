// Opens real stickies with their editor page on an X server and saves captures of them as PNG files for
// the documentation (tools/screenshots.sh). The notes live in a temporary folder, never the user's.
//
//   sticky_preview <output folder> light|dark

#include "app/agent/Provenance.h"
#include "app/core/ScreenSpace.h"
#include "app/stickies/EditorProfile.h"
#include "app/stickies/StickyController.h"
#include "app/stickies/StickyManager.h"
#include "app/stickies/StickyPanel.h"
#include "app/stickies/StickyView.h"
#include "app/stickies/StickyViewState.h"
#include "app/store/NoteStore.h"

#include <QApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

using namespace Dovrin;
using Store::StickyColor;

namespace {

struct Shot {
    QString file;
    QString markdown;
    StickyColor color;
    // Where the window goes, in Qt coordinates; a collapsed note keeps this size for when it expands.
    QRect window;
    // An AI that created the note, for its ✦ label.
    QString createdBy = u"user"_s;
    bool collapsed = false;
};

// Everything the app keeps goes into `home`; set before anything reads the environment.
void useHome(const QTemporaryDir& home) {
    qputenv("DOVRIN_HOME", QFile::encodeName(home.filePath("data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("share")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath("cache")));
}

void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        wait(50);
    }
    return true;
}

// Xvfb has no compositor, so the screen shows black where the window is transparent. The window's own
// pixels keep their alpha: they are laid over a plain backdrop with a soft shadow, as a desktop shows them.
QImage onBackdrop(const QImage& window, const QColor& backdrop) {
    const int margin = 24;
    const qreal ratio = window.devicePixelRatio();
    const QSizeF size = window.deviceIndependentSize();
    QImage canvas((size + QSizeF(2 * margin, 2 * margin)).toSize() * ratio, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(backdrop);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal radius = Stickies::StickyView::cornerRadius;
    for (int step = 12; step > 0; --step) {
        QPainterPath shadow;
        shadow.addRoundedRect(QRectF(QPointF(margin, margin + 3), size).adjusted(-step, -step, step, step),
                              radius + step, radius + step);
        painter.fillPath(shadow, QColor(0, 0, 0, backdrop.lightnessF() < 0.5 ? 10 : 3));
    }
    painter.drawImage(QPointF(margin, margin), window);
    return canvas;
}

bool capture(const Stickies::StickyPanel& panel, const QColor& backdrop, const QString& path) {
    QImage window = QGuiApplication::primaryScreen()->grabWindow(panel.winId()).toImage();
    window.setDevicePixelRatio(panel.devicePixelRatioF());
    const bool saved = !window.isNull() && onBackdrop(window, backdrop).save(path);
    QTextStream(stdout) << (saved ? "wrote " : "could not write ") << path << '\n';
    return saved;
}

QList<Shot> shots(bool dark) {
    if (dark)
        return {
            {"sticky-dark.png",
             "# Release notes\nDraft the summary for Friday.\n\n- [x] Screenshots\n- [ ] Changelog\n- [ ] "
             "Tag the release",
             StickyColor::purple, QRect(40, 40, 280, 210)}};
    return {{"sticky-yellow.png",
             "# Weekend trip\n- [x] Book the cabin\n- [x] Rent a car\n- [ ] Pack the hiking boots\n- [ ] Buy "
             "trail snacks\n\nLeave Friday at 4 pm.",
             StickyColor::yellow, QRect(40, 40, 280, 230), u"Claude"_s},
            {"sticky-collapsed.png", "# Call the dentist\nTuesday before noon", StickyColor::blue,
             QRect(400, 40, 280, 200), u"user"_s, true}};
}

} // namespace

int main(int argc, char** argv) {
    const QString mode = argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (mode != "light" && mode != "dark") {
        QTextStream(stderr) << "usage: sticky_preview <output folder> light|dark\n";
        return 2;
    }
    const bool dark = mode == "dark";
    QTemporaryDir home;
    if (!home.isValid()) {
        QTextStream(stderr) << "cannot create a temporary folder: " << home.errorString() << '\n';
        return 1;
    }
    useHome(home);
    // The page picks its colours by prefers-color-scheme, which Chromium only reports dark when told.
    if (dark)
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --force-dark-mode");
    Stickies::prepareEditorEngine();
    QApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(".")) {
        QTextStream(stderr) << "cannot create " << folder.path() << '\n';
        return 1;
    }
    if (dark) {
        // Stickies take the dark appearance from a dark window background.
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Window, QColor(0x1E1E1E));
        palette.setColor(QPalette::WindowText, QColor(0xEEEEEE));
        QApplication::setPalette(palette);
    }

    auto store = Store::NoteStore::open(home.filePath("Dovrin.sqlite"));
    if (!store) {
        QTextStream(stderr) << "cannot open the notes: " << store.error().description << '\n';
        return 1;
    }
    Agent::Provenance provenance;
    const QList<Shot> wanted = shots(dark);
    QList<QUuid> ids;
    for (const Shot& shot : wanted) {
        const QRectF frame = Core::ScreenSpace::fromWindow(shot.window);
        const auto created = (*store)->create({{shot.markdown, shot.color, frame, {}}}, shot.createdBy, {},
                                              QDateTime::currentDateTimeUtc().addSecs(-600));
        if (!created) {
            QTextStream(stderr) << "cannot create a note: " << created.error().description << '\n';
            return 1;
        }
        Store::Note note = created->first();
        if (shot.collapsed) {
            note.isCollapsed = true;
            if (const auto saved = (*store)->saveWindowState(note.id, note.windowState()); !saved) {
                QTextStream(stderr) << "cannot collapse a note: " << saved.error().description << '\n';
                return 1;
            }
        }
        provenance.note(note);
        ids.append(note.id);
    }

    Stickies::StickyManager manager(**store, provenance);
    manager.restoreOpenStickies();
    const bool ready = waitUntil(
        [&] {
            const QList<Stickies::StickyController*> all = manager.stickies();
            return all.size() == wanted.size() &&
                   std::all_of(all.begin(), all.end(), [](auto* sticky) { return sticky->isEditorReady(); });
        },
        60000);
    if (!ready) {
        QTextStream(stderr) << "the editor pages did not get ready\n";
        return 1;
    }
    // The pages paint a moment after they report ready.
    wait(1500);

    const QColor backdrop = dark ? QColor(0x1B1C1F) : QColor(0xE4E6EA);
    bool ok = true;
    for (qsizetype i = 0; i < wanted.size(); ++i)
        ok = capture(*manager.sticky(ids.at(i))->panel(), backdrop, folder.filePath(wanted.at(i).file)) && ok;
    if (!dark) {
        // The first note's controls, as the pointer over its top strip shows them and after its link
        // was copied.
        Stickies::StickyController& first = *manager.sticky(ids.first());
        QCursor::setPos(first.panel()->mapToGlobal(QPoint(first.panel()->width() / 2, 12)));
        wait(500);
        ok = capture(*first.panel(), backdrop, folder.filePath("sticky-yellow-hover.png")) && ok;
        first.state()->showCopied();
        wait(300);
        ok = capture(*first.panel(), backdrop, folder.filePath("sticky-copied.png")) && ok;
    }
    return ok ? 0 : 1;
}
