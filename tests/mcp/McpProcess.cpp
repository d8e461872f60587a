#include "tests/mcp/McpProcess.h"

#include <QElapsedTimer>
#include <QJsonDocument>

McpProcess::McpProcess(const QString& home, const QProcessEnvironment& extra) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DOVRIN_HOME", home);
    // Never the real app: tests that want a launch name their own stand-in.
    environment.insert("DOVRIN_APP", home + "/no-such-dovrin");
    environment.insert(extra);
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(DOVRIN_MCP_PATH, {});
    m_process.waitForStarted();
}

McpProcess::~McpProcess() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

void McpProcess::send(const QByteArray& line) {
    m_process.write(line + '\n');
    m_process.waitForBytesWritten();
}

void McpProcess::request(int id, const QString& method, const QJsonObject& params) {
    send(QJsonDocument(QJsonObject{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}})
             .toJson(QJsonDocument::Compact));
}

QJsonObject McpProcess::nextResponse(int timeoutMs) {
    if (!m_unclaimed.isEmpty())
        return m_unclaimed.takeFirst();
    return readResponse(timeoutMs);
}

QJsonObject McpProcess::readResponse(int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!m_process.canReadLine()) {
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0 || !m_process.waitForReadyRead(int(left)))
            if (!m_process.canReadLine())
                return {};
    }
    return QJsonDocument::fromJson(m_process.readLine()).object();
}

QJsonObject McpProcess::response(int id, int timeoutMs) {
    for (qsizetype i = 0; i < m_unclaimed.size(); ++i)
        if (m_unclaimed[i].value("id") == QJsonValue(id))
            return m_unclaimed.takeAt(i);
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0)
            return {};
        const QJsonObject line = readResponse(int(left));
        if (line.isEmpty() || line.value("id") == QJsonValue(id))
            return line;
        m_unclaimed.append(line);
    }
}

int McpProcess::closeAndWait(int timeoutMs) {
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(timeoutMs))
        return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QString resultText(const QJsonObject& response) {
    return response["result"]["content"][0]["text"].toString();
}

QJsonObject resultTextAsJson(const QJsonObject& response) {
    return QJsonDocument::fromJson(resultText(response).toUtf8()).object();
}
