// Measures what dovrin-mcp costs an AI client: the time from starting the process to the answer of
// `initialize`, and the time it adds to a tools/call over a bridge server that answers at once.
#include "bench/support/Measure.h"
#include "shared/bridge/BridgeResponse.h"
#include "shared/bridge/Socket.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <csignal>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

extern char** environ;

using namespace Dovrin;

namespace {

// dovrin-mcp with pipes on its standard input and output.
class McpChild final {
public:
    McpChild() {
        int input[2];
        int output[2];
        if (::pipe(input) != 0 || ::pipe(output) != 0)
            std::abort();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, input[1]);
        posix_spawn_file_actions_addclose(&actions, output[0]);
        char* arguments[] = {const_cast<char*>(DOVRIN_MCP_PATH), nullptr};
        if (posix_spawn(&m_pid, DOVRIN_MCP_PATH, &actions, nullptr, arguments, environ) != 0)
            std::abort();
        posix_spawn_file_actions_destroy(&actions);
        ::close(input[0]);
        ::close(output[1]);
        m_input = input[1];
        m_output = output[0];
    }

    ~McpChild() {
        ::close(m_input);
        ::close(m_output);
        ::waitpid(m_pid, nullptr, 0);
    }

    QByteArray exchange(const QByteArray& line) {
        const QByteArray bytes = line + '\n';
        if (::write(m_input, bytes.constData(), bytes.size()) != bytes.size())
            std::abort();
        for (;;) {
            const qsizetype newline = m_buffer.indexOf('\n');
            if (newline >= 0) {
                const QByteArray answer = m_buffer.left(newline);
                m_buffer.remove(0, newline + 1);
                return answer;
            }
            char chunk[65536];
            const ssize_t count = ::read(m_output, chunk, sizeof chunk);
            if (count <= 0)
                std::abort();
            m_buffer.append(chunk, count);
        }
    }

private:
    pid_t m_pid = 0;
    int m_input = -1;
    int m_output = -1;
    QByteArray m_buffer;
};

const QByteArray initialize = R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"protocolVersion":)"
                              R"("2025-06-18","clientInfo":{"name":"bench","version":"1"}}})";
const QByteArray toolsCall =
    R"({"jsonrpc":"2.0","id":2,"method":"tools/call","params":{"name":"list_notes","arguments":{"limit":5}}})";
const QByteArray ping = R"({"jsonrpc":"2.0","id":3,"method":"ping"})";

} // namespace

int main() {
    std::signal(SIGPIPE, SIG_IGN);
    QTemporaryDir home(QDir::tempPath() + "/dv-XXXXXX");
    qputenv("DOVRIN_HOME", home.path().toUtf8());
    qputenv("DOVRIN_APP", (home.path() + "/no-dovrin").toUtf8());
    const QString socketPath = home.path() + "/dv.sock";

    auto listener = Bridge::listenOnSocket(socketPath);
    if (!listener)
        return 1;
    const QByteArray reply = Bridge::BridgeResponse{"[]", {}, false}.encode();
    std::thread server([fd = listener->fd(), &reply] {
        while (auto connection = Bridge::acceptConnection(fd)) {
            Bridge::readUntilEndOfFile(connection->fd());
            Bridge::writeAll(connection->fd(), reply);
        }
    });

    Bench::report("start-up to the answer of initialize", Bench::measure(100, [] {
                      McpChild child;
                      child.exchange(initialize);
                  }));

    McpChild child;
    child.exchange(initialize);
    Bench::report("ping round trip", Bench::measure(2000, [&] { child.exchange(ping); }));
    const Bench::Timing direct = Bench::measure(2000, [&] {
        auto socket = Bridge::connectToSocket(socketPath);
        Bridge::writeAll(socket->fd(), R"({"tool":"list_notes","arguments":{"limit":5}})");
        Bridge::shutdownWriting(socket->fd());
        Bridge::readUntilEndOfFile(socket->fd());
    });
    Bench::report("bridge exchange alone", direct);
    const Bench::Timing viaMcp = Bench::measure(2000, [&] { child.exchange(toolsCall); });
    Bench::report("tools/call through dovrin-mcp", viaMcp);
    QTextStream(stdout) << u"added by dovrin-mcp: median %1 ms, p99 %2 ms\n"_s
                               .arg(viaMcp.medianMs - direct.medianMs, 0, 'f', 3)
                               .arg(viaMcp.p99Ms - direct.p99Ms, 0, 'f', 3);

    ::shutdown(listener->fd(), SHUT_RDWR);
    server.join();
    return 0;
}
