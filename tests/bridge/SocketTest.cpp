#include "shared/bridge/Socket.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <thread>
#include <unistd.h>

using namespace Dovrin::Bridge;

namespace {

// A path of exactly `length` UTF-8 bytes inside `folder`, ending in a two-byte character so that the
// limit is counted in bytes, not characters.
QString pathOfLength(const QString& folder, int length) {
    QString path = folder + "/";
    while (path.toUtf8().size() < length - 2)
        path += 'a';
    path += QChar(0x00e9);
    return path;
}

} // namespace

class SocketTest final : public QObject {
    Q_OBJECT

private slots:
    void pathLimit_counts103BytesWithTheNul() {
        QTemporaryDir folder("/tmp/dv-XXXXXX");
        const QString longest = pathOfLength(folder.path(), 102);
        QCOMPARE(longest.toUtf8().size(), 102);
        QVERIFY(socketAddress(longest));
        auto listener = listenOnSocket(longest);
        QVERIFY2(listener, qPrintable(listener ? QString() : listener.error().description()));
        QVERIFY(connectToSocket(longest));

        const QString tooLong = pathOfLength(folder.path(), 103);
        QCOMPARE(socketAddress(tooLong).error().code, ENAMETOOLONG);
        QCOMPARE(connectToSocket(tooLong).error().code, ENAMETOOLONG);
        QCOMPARE(listenOnSocket(tooLong).error().code, ENAMETOOLONG);
        QVERIFY(!QFile::exists(tooLong));
    }

    void connectAndWriteFailures_reportTheirErrno() {
        QTemporaryDir folder("/tmp/dv-XXXXXX");
        const QString path = folder.path() + "/dv.sock";
        const auto missing = connectToSocket(path);
        QCOMPARE(missing.error().code, ENOENT);
        QVERIFY(!missing.error().description().isEmpty());
        {
            auto listener = listenOnSocket(path);
            QVERIFY(listener);
        }
        // The file outlives its listener, as after a crash.
        QVERIFY(QFile::exists(path));
        QCOMPARE(connectToSocket(path).error().code, ECONNREFUSED);
        QCOMPARE(listenOnSocket(path).error().code, EADDRINUSE);

        // Writing to a peer that closed fails instead of raising SIGPIPE.
        QVERIFY(QFile::remove(path));
        auto listener = listenOnSocket(path);
        QVERIFY(listener);
        auto client = connectToSocket(path);
        QVERIFY(client);
        acceptConnection(listener->fd()).value().close();
        QVERIFY(!writeAll(client->fd(), QByteArray(4 * socketChunkBytes, 'x')));
    }

    void exchange_carriesLargeMessagesBothWays() {
        QTemporaryDir folder("/tmp/dv-XXXXXX");
        const QString path = folder.path() + "/dv.sock";
        auto listener = listenOnSocket(path);
        QVERIFY(listener);
        const QByteArray request(3 * socketChunkBytes + 17, 'q');
        const QByteArray response(5 * socketChunkBytes + 3, 'r');
        QByteArray received;
        std::thread server([&] {
            auto connection = acceptConnection(listener->fd());
            if (!connection)
                return;
            received = readUntilEndOfFile(connection->fd());
            writeAll(connection->fd(), response);
        });
        auto client = connectToSocket(path);
        QVERIFY(client);
        QVERIFY(writeAll(client->fd(), request));
        shutdownWriting(client->fd());
        const QByteArray answer = readUntilEndOfFile(client->fd());
        server.join();
        QCOMPARE(received, request);
        QCOMPARE(answer, response);
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, SocketTest)
#include "SocketTest.moc"
