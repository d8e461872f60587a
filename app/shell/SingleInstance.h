#pragma once

#include "app/core/Result.h"
#include "app/shell/LaunchRequest.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>

class QLocalServer;
class QLocalSocket;

namespace Dovrin::Shell {

// One running instance per data directory. The instance holding an exclusive lock on a file in the folder
// is the primary; it listens on a socket beside the lock, and a later start hands its links over to it
// there and exits.
class SingleInstance final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(SingleInstance)

public:
    enum class Role { primary, secondary };

    static constexpr const char* lockFileName = "dovrin.lock";
    static constexpr const char* socketFileName = "instance.sock";
    // How long a client of the primary may take to send its one line, and how long that line may be.
    static constexpr std::chrono::milliseconds clientPatience{2000};
    static constexpr qint64 maxLineBytes = 64 * 1024;
    // How long a relaunched start keeps trying for the lock once the instance it replaces was waited for.
    static constexpr std::chrono::milliseconds relaunchPatience{2000};

    explicit SingleInstance(QString directory, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock without waiting, or retries every 50 ms for up to `patience` while another process
    // holds it (an instance that is quitting releases it when it ends). The primary starts listening at
    // once; a stale socket file from an instance that crashed is replaced.
    Result<Role, QString> claim(std::chrono::milliseconds patience = std::chrono::milliseconds(0));

    // Gives `request` to the primary and waits, blocking, for its acknowledgement. Meant for a secondary
    // before its event loop runs.
    Result<void, QString> handOver(const LaunchRequest& request,
                                   std::chrono::milliseconds timeout = std::chrono::milliseconds(5000)) const;

    QString socketPath() const;

signals:
    // A later start's links (possibly none) and whether it was a background start.
    void requestReceived(const QList<QUrl>& urls, bool background);

private:
    Result<void, QString> listen();
    void accept();
    void readRequest(QLocalSocket* client);
    void reject(QLocalSocket* client, const QString& reason);

    QString m_directory;
    int m_lockFd = -1;
    QLocalServer* m_server = nullptr;
};

} // namespace Dovrin::Shell
