#include "app/shell/PreviousInstance.h"

#include "app/core/Log.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <limits>
#include <memory>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

// A zombie has closed everything it held (the instance lock included) but still answers signal 0 until its
// parent reaps it, so it counts as gone.
bool isZombie(qint64 pid) {
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.read(4096);
    const qsizetype nameEnd = line.lastIndexOf(')');
    return nameEnd >= 0 && line.mid(nameEnd + 1).trimmed().startsWith('Z');
}

bool exists(qint64 pid) {
    const bool answers = ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
    return answers && !isZombie(pid);
}

bool isProbeable(qint64 pid) {
    // kill() with 0 or a negative pid would probe whole process groups.
    return pid > 0 && pid <= std::numeric_limits<qint32>::max();
}

struct Wait final {
    PreviousInstance previous;
    QElapsedTimer clock;
    std::function<void(PreviousInstance)> done;
};

void finish(const std::shared_ptr<Wait>& wait) {
    qCInfo(Core::shellLog, "previous instance %lld gone=%s after %s",
           static_cast<long long>(wait->previous.pid), Core::logBool(wait->previous.gone),
           qUtf8Printable(QString::number(wait->clock.elapsed() / 1000.0, 'f', 2) + QLatin1Char('s')));
    wait->done(wait->previous);
}

void probe(const std::shared_ptr<Wait>& wait, QObject* context) {
    wait->previous.gone = !exists(wait->previous.pid);
    if (wait->previous.gone || wait->clock.elapsed() >= previousInstancePatience.count()) {
        finish(wait);
        return;
    }
    QTimer::singleShot(previousInstanceProbeInterval, context, [wait, context] { probe(wait, context); });
}

} // namespace

void waitForPreviousInstance(QSettings& settings, QObject* context,
                             std::function<void(PreviousInstance)> done) {
    auto wait = std::make_shared<Wait>();
    wait->clock.start();
    wait->done = std::move(done);
    if (settings.contains(QLatin1String(relaunchedFromKey))) {
        wait->previous.pid = settings.value(QLatin1String(relaunchedFromKey)).toLongLong();
        settings.remove(QLatin1String(relaunchedFromKey));
        settings.sync();
    }
    QTimer::singleShot(0, context, [wait, context] {
        if (wait->previous.pid == 0)
            wait->done(wait->previous);
        else if (!isProbeable(wait->previous.pid))
            finish(wait);
        else
            probe(wait, context);
    });
}

} // namespace Dovrin::Shell
