#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

// dovrin-mcp started the way an AI client starts it, with its data folder in `home`.
class McpProcess final {
public:
    explicit McpProcess(const QString& home, const QProcessEnvironment& extra = {});
    ~McpProcess();

    bool isRunning() const { return m_process.state() == QProcess::Running; }
    void send(const QByteArray& line);
    void request(int id, const QString& method, const QJsonObject& params = {});
    // The next response line, parsed; an empty object when none came in time.
    QJsonObject nextResponse(int timeoutMs = 5000);
    // The next response line with this id; other lines before it are kept for later.
    QJsonObject response(int id, int timeoutMs = 5000);
    // Closes standard input and waits for the exit; the exit code, or -1 when it did not end in time.
    int closeAndWait(int timeoutMs = 15000);
    QProcess& process() { return m_process; }

private:
    QJsonObject readResponse(int timeoutMs);

    QProcess m_process;
    QList<QJsonObject> m_unclaimed;
};

// A result's first text item, parsed as JSON when it is an object.
QString resultText(const QJsonObject& response);
QJsonObject resultTextAsJson(const QJsonObject& response);
