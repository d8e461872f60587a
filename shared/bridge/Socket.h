#pragma once

#include "app/core/Result.h"

#include <QByteArray>
#include <QString>

#include <sys/un.h>

namespace Dovrin::Bridge {

// A failed socket operation: the errno it ended with.
struct SocketError final {
    int code = 0;

    // The system's text for the error number, e.g. "Connection refused".
    QString description() const;
};

// The path's UTF-8 bytes and their terminating NUL must fit in this many bytes of sockaddr_un.
inline constexpr int maxSocketPathBytes = 103;
inline constexpr int socketChunkBytes = 65536;
inline constexpr int listenBacklog = 16;

// An owned socket descriptor, closed when the handle goes away.
class Socket final {
public:
    Socket() = default;
    explicit Socket(int fd) : m_fd(fd) {}
    ~Socket();
    Socket(Socket&& other) noexcept;
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    int fd() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    void close();

private:
    int m_fd = -1;
};

// The address of the socket at `path`; ENAMETOOLONG when the path with its NUL exceeds 103 bytes.
Result<sockaddr_un, SocketError> socketAddress(const QString& path);

// Connects a stream socket to `path` and gives it a receive time-out of 10 seconds. The path is checked
// before any system call that uses it. An errno that is not a known error code is reported as EIO.
Result<Socket, SocketError> connectToSocket(const QString& path);

// Binds a stream socket at `path` and listens with a backlog of 16. Whatever file is at `path` is left
// alone: a caller that owns the path removes a stale socket file first.
Result<Socket, SocketError> listenOnSocket(const QString& path);

// Waits for the next connection on a listening socket.
Result<Socket, SocketError> acceptConnection(int listeningFd);

// Writes every byte, looping over partial writes; false once a write returns 0 or less. Writing to a
// peer that went away fails with EPIPE instead of raising SIGPIPE.
bool writeAll(int fd, const QByteArray& bytes);

// Reads in 64 KiB chunks until end-of-file, a read error or a receive time-out; what arrived so far is
// the message.
QByteArray readUntilEndOfFile(int fd);

// Ends the request: the peer reads end-of-file while this side can still read the answer.
void shutdownWriting(int fd);

} // namespace Dovrin::Bridge
