#include "mcp/dovrin_mcp/HostApp.h"
#include "mcp/dovrin_mcp/MCPServer.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// Lines of JSON-RPC into the real server, its tool calls through the real host-app link. The data folder is
// a fresh one without the app's socket and with "let AI open Dovrin" off, so every call answers
// `unavailable` at once and no app is ever started.

namespace {

int memoryFile(const char* name, const uint8_t* data, size_t size) {
    const int fd = ::memfd_create(name, 0);
    if (fd < 0)
        std::abort();
    for (size_t written = 0; written < size;) {
        const ssize_t count = ::write(fd, data + written, size - written);
        if (count <= 0)
            std::abort();
        written += static_cast<size_t>(count);
    }
    ::lseek(fd, 0, SEEK_SET);
    return fd;
}

QByteArray contents(int fd) {
    QByteArray bytes;
    ::lseek(fd, 0, SEEK_SET);
    char chunk[65536];
    for (ssize_t count; (count = ::read(fd, chunk, sizeof chunk)) > 0;)
        bytes.append(chunk, count);
    return bytes;
}

void require(bool condition) {
    if (!condition)
        std::abort();
}

// One answer: a JSON-RPC 2.0 response with exactly one of a result or an error whose code is a number and
// whose message is text; a tool call's result says the app is unavailable.
void checkResponse(const QByteArray& line) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    require(error.error == QJsonParseError::NoError && document.isObject());
    const QJsonObject response = document.object();
    require(response.value("jsonrpc"_L1) == "2.0"_L1 && response.contains("id"_L1));
    require(response.contains("result"_L1) != response.contains("error"_L1));
    if (response.contains("error"_L1)) {
        const QJsonObject rpcError = response.value("error"_L1).toObject();
        require(rpcError.value("code"_L1).isDouble() && rpcError.value("message"_L1).isString());
        return;
    }
    const QJsonObject result = response.value("result"_L1).toObject();
    if (!result.contains("content"_L1))
        return;
    require(result.value("isError"_L1) == true);
    const QJsonArray content = result.value("content"_L1).toArray();
    require(content.size() == 1);
    const QJsonObject text = QJsonDocument::fromJson(content.at(0)[u"text"_s].toString().toUtf8()).object();
    require(text.value("error"_L1) == "unavailable"_L1 && !text.value("message"_L1).toString().isEmpty());
}

QString& home() {
    static QString path = QDir::tempPath() + u"/dovrin-fuzz-mcp-%1"_s.arg(::getpid());
    return path;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::signal(SIGPIPE, SIG_IGN);
    QDir().mkpath(home());
    std::atexit([] { QDir(home()).removeRecursively(); });
    QFile settings(home() + u"/settings.json"_s);
    if (!settings.open(QIODevice::WriteOnly) || settings.write(R"({"letAIOpenDovrin": false})") <= 0)
        std::abort();
    settings.close();
    qputenv("DOVRIN_HOME", QFile::encodeName(home()));
    // Belt and braces: were a launch ever tried, there would be nothing to start.
    qputenv("DOVRIN_APP", "/nonexistent/dovrin");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int input = memoryFile("input", data, size);
    const int output = memoryFile("output", nullptr, 0);
    {
        Dovrin::Mcp::HostApp hostApp;
        Dovrin::Mcp::MCPServer server(
            [&hostApp](const QString& tool, const std::optional<Dovrin::Bridge::ClientInfo>& client,
                       const QJsonObject& arguments) { return hostApp.call(tool, client, arguments); });
        require(server.run(input, output) == 0);
    }
    const QByteArray written = contents(output);
    ::close(input);
    ::close(output);

    const QByteArray given(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype lines = given.count('\n') + (given.endsWith('\n') || given.isEmpty() ? 0 : 1);
    require(written.isEmpty() || written.endsWith('\n'));
    const QList<QByteArray> answers =
        written.isEmpty() ? QList<QByteArray>() : written.chopped(1).split('\n');
    // At most one answer per line.
    require(answers.size() <= lines);
    for (const QByteArray& answer : answers)
        checkResponse(answer);
    return 0;
}
