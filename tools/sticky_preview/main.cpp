// Renders a few stickies offscreen and writes them as PNG files into the folder given as argument.

#include "Provenance.h"
#include "StickyPalette.h"
#include "StickyPanel.h"
#include "StickyView.h"
#include "StickyViewState.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

using namespace Dovrin::Stickies;
using Dovrin::Agent::Provenance;
using Dovrin::Store::AgentLabel;
using Dovrin::Store::Note;
using Dovrin::Store::StickyColor;

namespace {

// Stands in for the editor page, which needs the built editor bundle.
QLabel* editorStandIn(const Note& note) {
    QString html = QStringLiteral("<div style='font-size:14px; line-height:150%'>");
    const QStringList lines = note.markdown.split('\n');
    for (const QString& line : lines) {
        if (line.startsWith("# "))
            html += "<div style='font-size:17px; font-weight:600'>" + line.mid(2).toHtmlEscaped() + "</div>";
        else if (line.startsWith("- [x] "))
            html += "<div>&#9745; <s>" + line.mid(6).toHtmlEscaped() + "</s></div>";
        else if (line.startsWith("- [ ] "))
            html += "<div>&#9744; " + line.mid(6).toHtmlEscaped() + "</div>";
        else
            html += "<div>" + line.toHtmlEscaped() + "</div>";
    }
    auto* label = new QLabel(html + "</div>");
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setContentsMargins(10, 2, 10, 8);
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, stickyPalette(note.color).text);
    label->setPalette(palette);
    return label;
}

// The window as a desktop shows it: on a plain backdrop with a soft shadow.
QImage onBackdrop(const QImage& window, const QColor& backdrop) {
    const int margin = 28;
    const qreal dpr = window.devicePixelRatio();
    const QSizeF size = window.deviceIndependentSize();
    QImage canvas((size + QSizeF(2 * margin, 2 * margin)).toSize() * dpr,
                  QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(dpr);
    canvas.fill(backdrop);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int step = 16; step > 0; --step) {
        QPainterPath shadow;
        shadow.addRoundedRect(QRectF(QPointF(margin, margin + 4), size).adjusted(-step, -step, step, step),
                              StickyView::cornerRadius + step, StickyView::cornerRadius + step);
        painter.fillPath(shadow, QColor(0, 0, 0, 3));
    }
    painter.drawImage(QPointF(margin, margin), window);
    return canvas;
}

enum class Pose { resting, hovered, copied };

bool render(const QString& path, const Note& note, const Provenance& table, Pose pose,
            const QColor& backdrop) {
    StickyViewState state(note);
    state.followProvenance(table);
    StickyPanel panel(&state);
    if (!note.isCollapsed)
        state.setWebView(editorStandIn(note));
    panel.setGeometry(note.frame.toRect());
    panel.show();
    if (pose != Pose::resting) {
        QEnterEvent enter(QPointF(20, 20), QPointF(20, 20), panel.mapToGlobal(QPointF(20, 20)));
        QApplication::sendEvent(panel.view(), &enter);
    }
    if (pose == Pose::copied)
        state.showCopied();
    QApplication::processEvents();
    const bool saved = onBackdrop(panel.grab().toImage(), backdrop).save(path);
    QTextStream(stdout) << (saved ? "wrote " : "could not write ") << path << '\n';
    return saved;
}

Note note(const QString& markdown, StickyColor color, QSize size) {
    Note note;
    note.id = QUuid::createUuid();
    note.markdown = markdown;
    note.color = color;
    note.frame = QRectF(QPointF(100, 100), size);
    note.updatedAt = QDateTime::currentDateTimeUtc().addSecs(-7200);
    return note;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: sticky_preview <output folder>\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(".")) {
        QTextStream(stderr) << "cannot create " << folder.path() << '\n';
        return 1;
    }

    Provenance table;
    const QString groceries =
        "# Groceries\n- [x] Oat milk\n- [ ] Sourdough\n- [ ] Lemons\n- [ ] Coffee beans";
    Note labelled = note(groceries, StickyColor::yellow, QSize(280, 240));
    labelled.agentLabel = AgentLabel{"Claude", AgentLabel::Action::edited};
    table.note(labelled);
    Note collapsed = note("# Call the dentist\nTuesday before noon", StickyColor::blue, QSize(280, 32));
    collapsed.isCollapsed = true;
    Note dark = note("# Release notes\nDraft the summary\n- [ ] Screenshots\n- [ ] Changelog",
                     StickyColor::purple, QSize(280, 220));
    dark.agentLabel = AgentLabel{"Codex", AgentLabel::Action::added};
    table.note(dark);

    bool ok = render(folder.filePath("sticky-yellow.png"), labelled, table, Pose::resting, QColor(0xE4E6EA));
    ok = render(folder.filePath("sticky-yellow-hover.png"), labelled, table, Pose::hovered,
                QColor(0xE4E6EA)) &&
         ok;
    ok = render(folder.filePath("sticky-copied.png"), labelled, table, Pose::copied, QColor(0xE4E6EA)) && ok;
    ok = render(folder.filePath("sticky-collapsed.png"), collapsed, table, Pose::resting, QColor(0xE4E6EA)) &&
         ok;

    QPalette darkPalette = QApplication::palette();
    darkPalette.setColor(QPalette::Window, QColor(0x1E1E1E));
    darkPalette.setColor(QPalette::WindowText, QColor(0xEEEEEE));
    QApplication::setPalette(darkPalette);
    ok = render(folder.filePath("sticky-dark.png"), dark, table, Pose::resting, QColor(0x151618)) && ok;
    return ok ? 0 : 1;
}
