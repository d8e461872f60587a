// How quickly the sticky manager brings up stickies with their editors, and what 20 open stickies cost in
// memory. Prints its numbers; they are recorded in docs/performance.md.
#include "app/agent/Provenance.h"
#include "app/stickies/EditorProfile.h"
#include "app/stickies/StickyController.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"
#include "bench/support/EditorBench.h"
#include "bench/support/Measure.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <unistd.h>

using namespace Qt::StringLiterals;

using namespace Dovrin;
using Dovrin::Bench::report;
using Dovrin::Bench::spinUntil;
using Dovrin::Bench::timingOf;

namespace {

std::vector<double> openMs;

void keepOpenTimes(QtMsgType, const QMessageLogContext&, const QString& message) {
    static const QRegularExpression ready(u"^ready note=\\S+ openMs=(\\d+)"_s);
    if (const auto match = ready.match(message); match.hasMatch())
        openMs.push_back(match.captured(1).toDouble());
}

bool allReady(const Stickies::StickyManager& manager) {
    const auto all = manager.stickies();
    return std::all_of(all.begin(), all.end(), [](auto* sticky) { return sticky->isEditorReady(); });
}

// Proportional set size (shared pages split among their users) of this process and every process it
// started, the engine's render and utility processes among them.
double memoryMiB() {
    QList<qint64> family{getpid()};
    for (bool grew = true; grew;) {
        grew = false;
        for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
            bool isPid = false;
            const qint64 pid = entry.toLongLong(&isPid);
            if (!isPid || family.contains(pid))
                continue;
            QFile stat("/proc/" + entry + "/stat");
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            const QList<QByteArray> fields = stat.readAll().split(')').last().split(' ');
            if (fields.size() > 2 && family.contains(fields.at(2).toLongLong())) {
                family.append(pid);
                grew = true;
            }
        }
    }
    double kib = 0;
    for (const qint64 pid : family) {
        QFile rollup(u"/proc/%1/smaps_rollup"_s.arg(pid));
        if (!rollup.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : rollup.readAll().split('\n'))
            if (line.startsWith("Pss:"))
                kib += line.mid(4).trimmed().split(' ').first().toDouble();
    }
    return kib / 1024;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    prepareEditorBench(home.filePath("data"));
    QApplication app(argc, argv);
    qInstallMessageHandler(keepOpenTimes);
    QTextStream out(stdout);

    auto store = Store::NoteStore::open(home.filePath("Dovrin.sqlite")).value();
    Agent::Provenance provenance;
    {
        Stickies::StickyManager manager(*store, provenance);
        const double before = memoryMiB();
        manager.create(Store::StickyColor::yellow, {}, {100, 300, 260, 260});
        if (!spinUntil([&] { return allReady(manager); }))
            return 1;
        out << "first sticky ready (engine start included): openMs " << openMs.back() << Qt::endl;
        openMs.clear();
        std::vector<double> sampled;
        for (int i = 1; i < 20; ++i) {
            QElapsedTimer timer;
            timer.start();
            manager.create(Store::StickyColor::blue, u"# Note %1\n- [ ] a todo"_s.arg(i),
                           {100.0 + 10 * i, 300, 260, 260});
            if (!spinUntil([&] { return allReady(manager); }))
                return 1;
            sampled.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        report("later sticky: request to ready and focused (openMs)", timingOf(openMs));
        report("later sticky: request to ready, seen from the caller", timingOf(sampled));
        // Let the pages settle before reading memory.
        QElapsedTimer idle;
        idle.start();
        spinUntil([&] { return idle.elapsed() > 2000; });
        out << u"memory with 20 stickies: %1 MiB (PSS of the app and its engine processes; "
               "%2 MiB before the first)\n"_s.arg(memoryMiB(), 0, 'f', 0)
                   .arg(before, 0, 'f', 0);
    }

    for (int i = 0; i < 30; ++i)
        (void)store->create({{u"# Restored %1\nsome text"_s.arg(i),
                              Store::StickyColor::green,
                              QRectF(50.0 + 8 * i, 200, 260, 260),
                              {}}},
                            u"user"_s, std::nullopt, QDateTime::currentDateTimeUtc());
    std::vector<double> restores;
    for (int run = 0; run < 3; ++run) {
        Stickies::StickyManager manager(*store, provenance);
        QElapsedTimer timer;
        timer.start();
        manager.restoreOpenStickies();
        if (manager.stickies().size() != 50 || !spinUntil([&] { return allReady(manager); }))
            return 1;
        restores.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    report("restore 50 open stickies until every editor is ready", timingOf(restores));
    return 0;
}
