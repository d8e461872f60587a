// Opens real stickies with their editor page on an X server and saves captures of them, and of the slash
// menu, format bar and link editor on one of them, as PNG files for the documentation
// (tools/screenshots.sh). The notes live in a temporary folder, never the user's.
//
//   sticky_preview <output folder> light|dark

#include "app/agent/Provenance.h"
#include "app/core/ScreenSpace.h"
#include "app/stickies/EditorPage.h"
#include "app/stickies/EditorProfile.h"
#include "app/stickies/FormatBar.h"
#include "app/stickies/LinkEditor.h"
#include "app/stickies/LinkHoverCard.h"
#include "app/stickies/PopoverPanel.h"
#include "app/stickies/SlashMenu.h"
#include "app/stickies/StickyController.h"
#include "app/stickies/StickyManager.h"
#include "app/stickies/StickyPanel.h"
#include "app/stickies/StickyView.h"
#include "app/stickies/StickyViewState.h"
#include "app/stickies/WelcomeNote.h"
#include "app/store/NoteStore.h"

#include <QApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <optional>

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

// The sticky and the overlays shown beside it, each window's own pixels laid over one backdrop in their
// places on the screen, with a soft shadow under each.
bool captureWithOverlays(const Stickies::StickyPanel& panel, const QList<QWidget*>& overlays,
                         const QColor& backdrop, const QString& path) {
    struct Window {
        const QWidget* widget;
        qreal radius;
        QImage image;
    };
    // The overlays are plain widgets that draw themselves with their transparency; the sticky's page is only
    // on the screen.
    QList<Window> windows{{&panel, Stickies::StickyView::cornerRadius,
                           QGuiApplication::primaryScreen()->grabWindow(panel.winId()).toImage()}};
    for (QWidget* overlay : overlays)
        windows.append({overlay, Stickies::PopoverPanel::cornerRadius, overlay->grab().toImage()});
    QRect area;
    for (const Window& window : windows)
        area |= window.widget->geometry();
    const int margin = 24;
    const qreal ratio = panel.devicePixelRatioF();
    QImage canvas((area.size() + QSize(2 * margin, 2 * margin)) * ratio, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(backdrop);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    bool grabbed = true;
    for (Window& window : windows) {
        window.image.setDevicePixelRatio(ratio);
        if (window.image.isNull()) {
            QTextStream(stderr) << "could not grab " << window.widget->metaObject()->className() << '\n';
            grabbed = false;
        }
        const QPointF at =
            QPointF(window.widget->geometry().topLeft() - area.topLeft()) + QPointF(margin, margin);
        const qreal radius = window.radius;
        for (int step = 12; step > 0; --step) {
            QPainterPath shadow;
            shadow.addRoundedRect(
                QRectF(at + QPointF(0, 3), QSizeF(window.widget->size())).adjusted(-step, -step, step, step),
                radius + step, radius + step);
            painter.fillPath(shadow, QColor(0, 0, 0, backdrop.lightnessF() < 0.5 ? 10 : 3));
        }
        painter.drawImage(at, window.image);
    }
    painter.end();
    const bool saved = grabbed && canvas.save(path);
    QTextStream(stdout) << (saved ? "wrote " : "could not write ") << path << '\n';
    return saved;
}

void sendKey(QWidget* target, Qt::Key key, const QString& text = {}, Qt::KeyboardModifiers modifiers = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(target, &release);
}

// Selects the text of the first element the CSS selector finds, as a user's drag would.
void selectInPage(Stickies::StickyController& sticky, const QString& selector) {
    sticky.page()->call(u"dovrin.focus();\n"
                        "const range = document.createRange();\n"
                        "range.selectNodeContents(document.querySelector(selector));\n"
                        "getSelection().removeAllRanges();\n"
                        "getSelection().addRange(range);"_s,
                        {{"selector", selector}});
}

template <typename View> QWidget* shownOverlay(const Stickies::StickyController& sticky) {
    View* view = sticky.panel()->findChild<View*>();
    return view && view->window()->isVisible() ? view->window() : nullptr;
}

// The slash menu under a new line, the format bar over a bold word, the link editor for a link and the
// hover card under the mouse resting on it.
bool captureOverlays(Stickies::StickyController& sticky, const QColor& backdrop, const QDir& folder,
                     const QString& suffix) {
    using namespace Stickies;
    QWidget* editor = sticky.webView()->focusProxy();
    const auto shot = [&](QWidget* overlay, const QString& name) {
        if (!overlay) {
            QTextStream(stderr) << "the overlay for " << name << " did not show\n";
            return false;
        }
        wait(400);
        return captureWithOverlays(*sticky.panel(), {overlay}, backdrop,
                                   folder.filePath(name + suffix + ".png"));
    };
    bool ok = true;
    sendKey(editor, Qt::Key_Return);
    // The page settles its new line before the next key, as between a person's keystrokes.
    wait(100);
    sendKey(editor, Qt::Key_Slash, u"/"_s);
    waitUntil([&] { return shownOverlay<SlashMenu>(sticky); }, 10000);
    ok = shot(shownOverlay<SlashMenu>(sticky), u"slash-menu"_s) && ok;
    sendKey(editor, Qt::Key_Escape);
    sendKey(editor, Qt::Key_Backspace);
    sendKey(editor, Qt::Key_Backspace);

    selectInPage(sticky, u"strong"_s);
    waitUntil([&] { return shownOverlay<FormatBar>(sticky); }, 10000);
    ok = shot(shownOverlay<FormatBar>(sticky), u"format-bar"_s) && ok;

    selectInPage(sticky, u"a[href]"_s);
    wait(300);
    sendKey(editor, Qt::Key_K, {}, Qt::ControlModifier);
    waitUntil([&] { return shownOverlay<LinkEditor>(sticky); }, 10000);
    ok = shot(shownOverlay<LinkEditor>(sticky), u"link-editor"_s) && ok;
    if (LinkEditor* linkEditor = sticky.panel()->findChild<LinkEditor*>())
        linkEditor->window()->close();

    // The real pointer moves onto the link, so the page sees the hover as it would a person's.
    std::optional<QPointF> link;
    QObject receiver;
    sticky.page()->call(u"const r = document.querySelector('a[href]').getBoundingClientRect();\n"
                        "return { x: r.x + r.width / 2, y: r.y + r.height / 2 };"_s,
                        {}, &receiver, [&](const ScriptResult& result) {
                            const QJsonObject at = result ? result.value().toObject() : QJsonObject();
                            link = QPointF(at.value("x"_L1).toDouble(), at.value("y"_L1).toDouble());
                        });
    waitUntil([&] { return link.has_value(); }, 10000);
    if (link)
        QCursor::setPos(sticky.webView()->mapToGlobal(link->toPoint()));
    waitUntil([&] { return shownOverlay<LinkHoverCard>(sticky); }, 10000);
    ok = shot(shownOverlay<LinkHoverCard>(sticky), u"link-hover-card"_s) && ok;
    return ok;
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
             QRect(400, 40, 280, 200), u"user"_s, true},
            {"welcome-note.png", Stickies::welcomeMarkdown(Core::AppLanguage::english, u"Meta+Ctrl+Alt+N"_s),
             StickyColor::yellow, QRect(40, 330, 300, 400)}};
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
    // One more note for the editing overlays, shown beside the others.
    const Shot overlays{
        QString(),
        u"# Weekend\nPick up the **cake** at noon, then print the [trail map](https://example.com/trail)."_s,
        dark ? StickyColor::green : StickyColor::pink, QRect(dark ? 400 : 700, 40, 290, 210)};
    QList<QUuid> ids;
    for (const Shot& shot : wanted + QList<Shot>{overlays}) {
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
            return all.size() == wanted.size() + 1 &&
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
    Stickies::StickyController& overlaySticky = *manager.sticky(ids.last());
    overlaySticky.panel()->activateWindow();
    overlaySticky.webView()->setFocus();
    overlaySticky.page()->call(u"dovrin.focus()"_s);
    wait(300);
    ok = captureOverlays(overlaySticky, backdrop, folder, dark ? u"-dark"_s : QString()) && ok;
    return ok ? 0 : 1;
}
