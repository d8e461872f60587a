#pragma once

#include "shared/bridge/BridgeResponse.h"

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace Dovrin::E2e {

using namespace Qt::StringLiterals;

// A data directory short enough for its socket path, with its own config folder. It holds a database
// already, as a returning user's does, so the app starts without the first launch's language step.
struct Home {
    QTemporaryDir dir{u"/tmp/dv-XXXXXX"_s};

    Home();
    // `fresh`: no database, as on the very first launch.
    explicit Home(bool fresh);

    QString data() const { return dir.path(); }
    QString socket() const { return dir.filePath(u"dv.sock"_s); }
    QString database() const { return dir.filePath(u"Dovrin.sqlite"_s); }
    QProcessEnvironment environment() const;
    // Writes "aiAccess" into settings.json as the settings window would.
    void setAccess(const QString& raw) const;
};

QString binary(const QString& name);

// Creates the notes database in `folder`, as an earlier run of the app leaves it.
void createDatabase(const QString& folder);

// The dovrin app, started as dovrin-mcp starts it: offscreen, in the background.
class App final {
public:
    explicit App(const Home& home);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Waits until the socket answers; false when the app died or never listened.
    bool start();
    // Waits until the app has written `text` at least `count` times; false when it did not in time.
    bool waitForOutput(const QString& text, int count = 1, int timeoutMs = 30000);
    void kill();
    // Sends SIGTERM; true when the app then quit on its own with status 0.
    bool terminate();
    QString output();

private:
    QProcess m_process;
    QString m_output;
};

// One AI client session: dovrin-mcp over stdin/stdout, initialized with a client identity.
class Mcp final {
public:
    struct Result {
        QString text;
        bool isError = false;
        QList<QJsonObject> images;
    };

    Mcp(const Home& home, const QString& clientName, const QString& clientTitle = {});
    ~Mcp();
    Mcp(const Mcp&) = delete;
    Mcp& operator=(const Mcp&) = delete;

    Result call(const QString& tool, const QJsonObject& arguments);
    // The text parsed as JSON (object results), or an empty object.
    QJsonObject callJson(const QString& tool, const QJsonObject& arguments);

private:
    QJsonObject request(const QJsonObject& message);

    QProcess m_process;
    int m_nextID = 1;
};

// One exchange straight over dv.sock, for requests dovrin-mcp would never send.
std::optional<Bridge::BridgeResponse> rawExchange(const QString& socketPath, const QByteArray& request);
QJsonObject parsed(const QString& text);

} // namespace Dovrin::E2e
