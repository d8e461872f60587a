#include "mcp/dovrin_mcp/Launcher.h"

#include "shared/bridge/Socket.h"

#include <QFileInfo>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

extern char** environ;

namespace Dovrin::Mcp {

namespace {

// The app needs at most this long to listen once started; calls that find it not running within that
// time wait for the same process instead of starting another.
constexpr auto startingGrace = std::chrono::seconds(10);

QString ownDirectory() {
    return QFileInfo(QFileInfo(u"/proc/self/exe"_s).canonicalFilePath()).path();
}

} // namespace

QString Launcher::appExecutable() {
    const QString configured = qEnvironmentVariable("DOVRIN_APP");
    if (!configured.isEmpty())
        return configured;
    return ownDirectory() + u"/dovrin"_s;
}

Result<void, Unavailable> Launcher::launch() {
    std::unique_lock lock(m_mutex);
    if (const std::shared_ptr<Attempt> inFlight = m_launch) {
        m_finished.wait(lock, [&] { return inFlight->finished; });
        if (inFlight->failure)
            return *inFlight->failure;
        return {};
    }
    if (isStillStarting())
        return {};
    const auto attempt = std::make_shared<Attempt>();
    m_launch = attempt;
    lock.unlock();

    const Result<void, Unavailable> outcome = start();

    lock.lock();
    attempt->finished = true;
    if (!outcome)
        attempt->failure = outcome.error();
    m_launch.reset();
    m_finished.notify_all();
    return outcome;
}

bool Launcher::isStillStarting() {
    return m_started && !m_started->exited &&
           std::chrono::steady_clock::now() - m_started->at < startingGrace;
}

Result<void, Unavailable> Launcher::start() {
    const QString executable = appExecutable();
    const QFileInfo info(executable);
    if (!info.isFile() || !info.isExecutable())
        return Unavailable::notRunning();

    const QByteArray path = QFile::encodeName(executable);
    const QByteArray background("--background");
    char* arguments[] = {const_cast<char*>(path.constData()), const_cast<char*>(background.constData()),
                         nullptr};

    // A session of its own and /dev/null for the standard streams: the app must not write into the MCP
    // stream nor die with the AI client's terminal. It also gets back the signal handling this program
    // changed.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    sigset_t noneBlocked;
    sigemptyset(&noneBlocked);
    posix_spawnattr_setsigmask(&attributes, &noneBlocked);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // Descriptors this program inherited from the AI client without close-on-exec would otherwise live on
    // in the app for its whole run, keeping pipes and files of a client long gone open.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    pid_t pid = 0;
    const int error = posix_spawn(&pid, path.constData(), &actions, &attributes, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return Unavailable::couldNotOpen(Bridge::SocketError{error}.description());

    const auto started = std::make_shared<Started>(pid, std::chrono::steady_clock::now());
    {
        std::lock_guard lock(m_mutex);
        m_started = started;
    }
    // Reaps the app when it ends so that no zombie is left, and lets a later call start it again.
    std::thread([started] {
        while (::waitpid(started->pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        started->exited = true;
    }).detach();
    return {};
}

} // namespace Dovrin::Mcp
