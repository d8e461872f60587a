#include "app/shell/SingleInstance.h"

#include "app/core/Log.h"
#include "shared/bridge/Socket.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

constexpr std::chrono::milliseconds retryInterval{50};
constexpr qint64 maxAnswerBytes = 4096;

QByteArray answerLine(const QString& error = {}) {
    QJsonObject answer{{u"version"_s, 1}, {u"ok"_s, error.isEmpty()}};
    if (!error.isEmpty())
        answer.insert(u"error"_s, error);
    return QJsonDocument(answer).toJson(QJsonDocument::Compact) + '\n';
}

QString pathTooLong(const QString& path) {
    return SingleInstance::tr("The path of Dovrin’s instance socket is too long (%1 bytes, at most %2): %3")
        .arg(QFile::encodeName(path).size())
        .arg(Bridge::maxSocketPathBytes - 1)
        .arg(path);
}

QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

SingleInstance::SingleInstance(QString directory, QObject* parent)
    : QObject(parent), m_directory(std::move(directory)) {}

SingleInstance::~SingleInstance() {
    if (m_server)
        m_server->close();
    // Closing the descriptor is what releases the lock.
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString SingleInstance::socketPath() const {
    return m_directory + QLatin1Char('/') + QLatin1String(socketFileName);
}

Result<SingleInstance::Role, QString> SingleInstance::claim(std::chrono::milliseconds patience) {
    if (m_lockFd >= 0)
        return Role::primary;
    // Checked before anything else: a path that does not fit would otherwise be cut short by the system.
    if (!Bridge::socketAddress(socketPath()))
        return pathTooLong(socketPath());
    const QString lockPath = m_directory + QLatin1Char('/') + QLatin1String(lockFileName);
    // Close-on-exec: a process started from this one (a relaunch) must not keep the lock alive.
    const int fd = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return tr("Can’t open Dovrin’s instance lock %1: %2").arg(lockPath, systemError(errno));
    QElapsedTimer waited;
    waited.start();
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error != EWOULDBLOCK) {
            ::close(fd);
            return tr("Can’t lock %1: %2").arg(lockPath, systemError(error));
        }
        if (waited.elapsed() >= patience.count()) {
            ::close(fd);
            return Role::secondary;
        }
        QThread::msleep(retryInterval.count());
    }
    m_lockFd = fd;
    if (const auto listening = listen(); !listening) {
        ::close(m_lockFd);
        m_lockFd = -1;
        return listening.error();
    }
    return Role::primary;
}

Result<void, QString> SingleInstance::listen() {
    // Only the lock holder gets here, so whatever socket file is left belongs to an instance that is gone.
    // The data folder is private to the user, which keeps other users off the socket.
    QLocalServer::removeServer(socketPath());
    m_server = new QLocalServer(this);
    if (!m_server->listen(socketPath())) {
        const QString reason = m_server->errorString();
        delete m_server;
        m_server = nullptr;
        return tr("Can’t listen on %1: %2").arg(socketPath(), reason);
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
    return {};
}

void SingleInstance::accept() {
    while (QLocalSocket* client = m_server->nextPendingConnection()) {
        // A full buffer without a line break is a line too long; nothing more is read into memory.
        client->setReadBufferSize(maxLineBytes + 1);
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { readRequest(client); });
        QTimer::singleShot(clientPatience, client, [client] {
            qCWarning(Core::shellLog, "hand-over: client sent no request in time");
            client->abort();
            client->deleteLater();
        });
        readRequest(client);
    }
}

void SingleInstance::readRequest(QLocalSocket* client) {
    if (!client->canReadLine()) {
        if (client->bytesAvailable() > maxLineBytes)
            reject(client, u"request longer than %1 bytes"_s.arg(maxLineBytes));
        return;
    }
    disconnect(client, &QLocalSocket::readyRead, this, nullptr);
    const auto request = LaunchRequest::fromLine(client->readLine());
    if (!request) {
        reject(client, u"not a launch request"_s);
        return;
    }
    client->write(answerLine());
    client->disconnectFromServer();
    qCInfo(Core::shellLog, "hand-over: %lld links background=%d",
           static_cast<long long>(request->urls.size()), int(request->background));
    emit requestReceived(request->urls, request->background);
}

void SingleInstance::reject(QLocalSocket* client, const QString& reason) {
    qCWarning(Core::shellLog, "hand-over rejected: %s", qUtf8Printable(reason));
    disconnect(client, &QLocalSocket::readyRead, this, nullptr);
    client->write(answerLine(reason));
    client->disconnectFromServer();
}

Result<void, QString> SingleInstance::handOver(const LaunchRequest& request,
                                               std::chrono::milliseconds timeout) const {
    const QString path = socketPath();
    if (!Bridge::socketAddress(path))
        return pathTooLong(path);
    const QDeadlineTimer deadline(timeout);
    const auto noAnswer = [&](const QString& reason) {
        return tr("Dovrin is already running but did not answer within %1 s: %2")
            .arg(timeout.count() / 1000.0)
            .arg(reason);
    };
    QLocalSocket socket;
    // The primary may hold the lock a moment before its socket is there.
    for (;;) {
        socket.connectToServer(path);
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        const auto error = socket.error();
        if (deadline.hasExpired() ||
            (error != QLocalSocket::ServerNotFoundError && error != QLocalSocket::ConnectionRefusedError))
            return noAnswer(socket.errorString());
        QThread::msleep(retryInterval.count());
    }
    socket.write(request.toLine());
    while (!socket.canReadLine()) {
        if (socket.bytesAvailable() > maxAnswerBytes)
            return noAnswer(u"answer too long"_s);
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            return noAnswer(socket.error() == QLocalSocket::SocketTimeoutError ? u"timed out"_s
                                                                               : socket.errorString());
    }
    const QJsonObject answer = QJsonDocument::fromJson(socket.readLine(maxAnswerBytes)).object();
    if (answer.value("ok"_L1).toBool())
        return {};
    return tr("The running Dovrin refused the request: %1")
        .arg(answer.value("error"_L1).toString(u"unreadable answer"_s));
}

} // namespace Dovrin::Shell
