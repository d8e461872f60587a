#include "tools/window_preview/Preview.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QMap>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace Dovrin::Preview {

namespace {

QMap<QString, Function>& registry() {
    static QMap<QString, Function> previews;
    return previews;
}

} // namespace

Registration::Registration(const QString& name, Function preview) {
    registry().insert(name, std::move(preview));
}

const QMap<QString, Function>& all() {
    return registry();
}

void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QPalette darkPalette() {
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, QColor(0x2B2B2E));
    palette.setColor(QPalette::WindowText, QColor(0xEDEDEF));
    palette.setColor(QPalette::Base, QColor(0x1F1F22));
    palette.setColor(QPalette::AlternateBase, QColor(0x26262A));
    palette.setColor(QPalette::Text, QColor(0xEDEDEF));
    palette.setColor(QPalette::Button, QColor(0x36363A));
    palette.setColor(QPalette::ButtonText, QColor(0xEDEDEF));
    palette.setColor(QPalette::PlaceholderText, QColor(0x9A9AA0));
    palette.setColor(QPalette::Highlight, QColor(0x3584E4));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

bool capture(QWidget& window, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name);
    const bool saved = window.grab().save(path);
    QTextStream(stdout) << (saved ? "wrote " : "could not write ") << path << '\n';
    return saved;
}

bool captureLightAndDark(QWidget& window, const std::function<void()>& show, const QDir& folder,
                         const QString& name) {
    // Away from the window, so that nothing in it shows the pointer's hover.
    QCursor::setPos(0, 0);
    bool ok = true;
    for (const bool dark : {false, true}) {
        if (dark)
            QApplication::setPalette(darkPalette());
        show();
        wait(500);
        ok = capture(window, folder, name + (dark ? u"-dark.png"_s : u".png"_s)) && ok;
    }
    return ok;
}

} // namespace Dovrin::Preview
