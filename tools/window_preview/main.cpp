// Shows one of Dovrin's windows, filled with sample notes in a temporary data folder (never the user's), and
// saves captures of it as PNG files for the documentation (tools/screenshots.sh).
//
//   window_preview <window> <output folder>
//   window_preview --list

#include "tools/window_preview/Preview.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextStream>

using namespace Qt::StringLiterals;

using namespace Dovrin;

int main(int argc, char** argv) {
    const QMap<QString, Preview::Function>& previews = Preview::all();
    if (argc == 2 && QString::fromLocal8Bit(argv[1]) == "--list"_L1) {
        QTextStream(stdout) << previews.keys().join(u'\n') << '\n';
        return 0;
    }
    const auto preview = argc == 3 ? previews.constFind(QString::fromLocal8Bit(argv[1])) : previews.cend();
    if (preview == previews.cend()) {
        QTextStream(stderr) << "usage: window_preview <" << previews.keys().join(u'|')
                            << "> <output folder>\n";
        return 2;
    }
    QTemporaryDir home;
    if (!home.isValid()) {
        QTextStream(stderr) << "cannot create a temporary folder: " << home.errorString() << '\n';
        return 1;
    }
    qputenv("DOVRIN_HOME", QFile::encodeName(home.filePath(u"data"_s)));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(u"config"_s)));
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    if (!folder.mkpath(u"."_s)) {
        QTextStream(stderr) << "cannot create " << folder.path() << '\n';
        return 1;
    }
    return (*preview)(folder) ? 0 : 1;
}
