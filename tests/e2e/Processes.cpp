#include "tests/e2e/Processes.h"

#include "app/store/NoteStore.h"
#include "shared/bridge/SharedSettings.h"
#include "shared/bridge/Socket.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>

using namespace Qt::StringLiterals;

namespace Dovrin::E2e {

Home::Home() : Home(false) {}

Home::Home(bool fresh) {
    if (!fresh)
        createDatabase(data());
}

void createDatabase(const QString& folder) {
    if (const auto store = Store::NoteStore::open(folder + u"/Dovrin.sqlite"_s); !store)
        qFatal("can't create the database: %s", qPrintable(store.error().description));
}

QProcessEnvironment Home::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DOVRIN_HOME"_s, data());
    environment.insert(u"XDG_CONFIG_HOME"_s, dir.filePath(u"config"_s));
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    environment.insert(u"DOVRIN_APP"_s, binary(u"dovrin"_s));
    return environment;
}

void Home::setAccess(const QString& raw) const {
    Bridge::SharedSettings settings = Bridge::SharedSettings::readFile(dir.filePath("settings.json"));
    settings.aiAccess = *Bridge::aiAccessFromRawValue(raw);
    if (!settings.writeFile(dir.filePath("settings.json")))
        qFatal("can't write settings.json");
}

QString binary(const QString& name) {
    return qEnvironmentVariable("DOVRIN_BUILD_DIR") + u"/bin/"_s + name;
}

App::App(const Home& home) {
    m_process.setProcessEnvironment(home.environment());
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

App::~App() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            kill();
    }
}

bool App::start() {
    m_process.start(binary(u"dovrin"_s), {u"--background"_s});
    if (!m_process.waitForStarted(10000))
        return false;
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(50);
        m_output += QString::fromUtf8(m_process.readAll());
        if (m_output.contains(u"agent bridge listening at"_s))
            return true;
    }
    return false;
}

bool App::waitForOutput(const QString& text, int count, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (output().count(text) < count) {
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(50);
    }
    return true;
}

void App::kill() {
    m_process.kill();
    m_process.waitForFinished(5000);
}

bool App::terminate() {
    m_process.terminate();
    if (!m_process.waitForFinished(10000))
        return false;
    return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

QString App::output() {
    m_process.waitForReadyRead(200);
    m_output += QString::fromUtf8(m_process.readAll());
    return m_output;
}

Mcp::Mcp(const Home& home, const QString& clientName, const QString& clientTitle) {
    m_process.setProcessEnvironment(home.environment());
    m_process.setReadChannel(QProcess::StandardOutput);
    m_process.start(binary(u"dovrin-mcp"_s), {});
    if (!m_process.waitForStarted(10000))
        qFatal("dovrin-mcp did not start");
    QJsonObject clientInfo{{"name", clientName}, {"version", "1.0"}};
    if (!clientTitle.isEmpty())
        clientInfo.insert("title", clientTitle);
    request({{"method", "initialize"},
             {"params", QJsonObject{{"protocolVersion", "2025-06-18"},
                                    {"capabilities", QJsonObject()},
                                    {"clientInfo", clientInfo}}}});
    const QJsonObject initialized{{"jsonrpc", "2.0"}, {"method", "notifications/initialized"}};
    m_process.write(QJsonDocument(initialized).toJson(QJsonDocument::Compact) + '\n');
}

Mcp::~Mcp() {
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QJsonObject Mcp::request(const QJsonObject& message) {
    QJsonObject full = message;
    const int id = m_nextID++;
    full.insert("jsonrpc", "2.0");
    full.insert("id", id);
    m_process.write(QJsonDocument(full).toJson(QJsonDocument::Compact) + '\n');
    const QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        while (m_process.canReadLine()) {
            const QJsonObject answer = QJsonDocument::fromJson(m_process.readLine()).object();
            if (answer.value("id").toInt() == id)
                return answer;
        }
        // Keeps the event loop turning, so that an agent server in this process can answer too.
        QCoreApplication::processEvents();
        m_process.waitForReadyRead(5);
    }
    qFatal("dovrin-mcp did not answer request %d", id);
}

Mcp::Result Mcp::call(const QString& tool, const QJsonObject& arguments) {
    const QJsonObject answer = request(
        {{"method", "tools/call"}, {"params", QJsonObject{{"name", tool}, {"arguments", arguments}}}});
    Result result;
    const QJsonObject body = answer.value("result").toObject();
    result.isError = body.value("isError").toBool();
    for (const QJsonValue& content : body.value("content").toArray()) {
        if (content["type"] == "text"_L1)
            result.text += content["text"].toString();
        else if (content["type"] == "image"_L1)
            result.images.append(content.toObject());
    }
    return result;
}

QJsonObject Mcp::callJson(const QString& tool, const QJsonObject& arguments) {
    return parsed(call(tool, arguments).text);
}

std::optional<Bridge::BridgeResponse> rawExchange(const QString& socketPath, const QByteArray& request) {
    auto socket = Bridge::connectToSocket(socketPath);
    if (!socket)
        return std::nullopt;
    if (!Bridge::writeAll(socket->fd(), request))
        return std::nullopt;
    Bridge::shutdownWriting(socket->fd());
    auto response = Bridge::BridgeResponse::decode(Bridge::readUntilEndOfFile(socket->fd()));
    if (!response)
        return std::nullopt;
    return *response;
}

QJsonObject parsed(const QString& text) {
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

} // namespace Dovrin::E2e
