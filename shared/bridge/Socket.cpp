#include "shared/bridge/Socket.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace Dovrin::Bridge {

namespace {

constexpr int receiveTimeoutSeconds = 10;

Result<Socket, SocketError> newStreamSocket() {
    // Close-on-exec keeps connections from leaking into the app when dovrin-mcp starts it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return SocketError{errno};
    return Socket(fd);
}

int knownErrorOrEIO(int code) {
    return code > 0 && code < 4096 ? code : EIO;
}

} // namespace

QString SocketError::description() const {
    char buffer[256] = {};
    // The GNU strerror_r may return a static string instead of filling the buffer.
    return QString::fromLocal8Bit(::strerror_r(code, buffer, sizeof buffer));
}

Socket::~Socket() {
    close();
}

Socket::Socket(Socket&& other) noexcept : m_fd(other.m_fd) {
    other.m_fd = -1;
}

Socket& Socket::operator=(Socket&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

void Socket::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

Result<sockaddr_un, SocketError> socketAddress(const QString& path) {
    const QByteArray bytes = path.toUtf8();
    sockaddr_un address{};
    static_assert(sizeof address.sun_path >= maxSocketPathBytes);
    if (bytes.size() + 1 > maxSocketPathBytes)
        return SocketError{ENAMETOOLONG};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
    return address;
}

Result<Socket, SocketError> connectToSocket(const QString& path) {
    const auto address = socketAddress(path);
    if (!address)
        return address.error();
    auto socket = newStreamSocket();
    if (!socket)
        return socket.error();
    const int fd = socket->fd();
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof(sockaddr_un)) != 0)
        return SocketError{knownErrorOrEIO(errno)};
    const timeval timeout{receiveTimeoutSeconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    return std::move(socket).value();
}

Result<Socket, SocketError> listenOnSocket(const QString& path) {
    const auto address = socketAddress(path);
    if (!address)
        return address.error();
    auto socket = newStreamSocket();
    if (!socket)
        return socket.error();
    const int fd = socket->fd();
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof(sockaddr_un)) != 0)
        return SocketError{errno};
    if (::listen(fd, listenBacklog) != 0)
        return SocketError{errno};
    return std::move(socket).value();
}

Result<Socket, SocketError> acceptConnection(int listeningFd) {
    const int fd = ::accept4(listeningFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return SocketError{errno};
    return Socket(fd);
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype remaining = bytes.size();
    while (remaining > 0) {
        const ssize_t written = ::send(fd, data, static_cast<size_t>(remaining), MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        remaining -= written;
    }
    return true;
}

QByteArray readUntilEndOfFile(int fd) {
    QByteArray message;
    for (;;) {
        const qsizetype start = message.size();
        message.resize(start + socketChunkBytes);
        ssize_t count;
        do {
            count = ::read(fd, message.data() + start, socketChunkBytes);
        } while (count < 0 && errno == EINTR);
        message.resize(start + std::max<ssize_t>(count, 0));
        if (count <= 0)
            return message;
    }
}

void shutdownWriting(int fd) {
    ::shutdown(fd, SHUT_WR);
}

} // namespace Dovrin::Bridge
