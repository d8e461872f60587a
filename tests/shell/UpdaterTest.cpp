#include "app/shell/Updater.h"
#include "app/core/AppSettings.h"
#include "app/shell/SoftwareUpdateSection.h"
#include "app/shell/VersionComparison.h"
#include "tests/support/TestMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <openssl/evp.h>

#include <memory>

using namespace Dovrin::Shell;
using namespace Qt::StringLiterals;

namespace {

// What the server answers for one path: a status, a body, and the length it claims (more than the body
// cuts the transfer short).
struct Response {
    int status = 200;
    QByteArray body;
    qint64 claimedLength = -1;
};

// A plain HTTP/1.1 server on loopback, one request per connection, that counts what it is asked.
class FeedServer final : public QObject {
public:
    FeedServer() {
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }

    QUrl url(const QString& path) const {
        return QUrl(u"http://127.0.0.1:%1%2"_s.arg(m_server.serverPort()).arg(path));
    }
    void serve(const QString& path, Response response) { m_responses.insert(path, std::move(response)); }
    int requests(const QString& path) const { return m_requests.value(path); }

private:
    void answer(QTcpSocket* socket) {
        m_pending[socket] += socket->readAll();
        if (!m_pending[socket].contains("\r\n\r\n"))
            return;
        const QString path = QString::fromLatin1(m_pending.take(socket).split(' ').value(1));
        ++m_requests[path];
        const Response response = m_responses.value(path, Response{404, "not here", -1});
        const qint64 length = response.claimedLength >= 0 ? response.claimedLength : response.body.size();
        socket->write(QByteArray("HTTP/1.1 ") + QByteArray::number(response.status) +
                      (response.status == 200 ? " OK" : " Not Found") + "\r\nContent-Length: " +
                      QByteArray::number(length) + "\r\nConnection: close\r\n\r\n" + response.body);
        socket->disconnectFromHost();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QTcpServer m_server;
    QHash<QString, Response> m_responses;
    QHash<QString, int> m_requests;
    QHash<QTcpSocket*, QByteArray> m_pending;
};

// An Ed25519 key pair made for the run, as the release machine holds one.
class SigningKey final {
public:
    SigningKey() : m_key(EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"), &EVP_PKEY_free) {}

    QByteArray publicKey() const {
        QByteArray key(32, '\0');
        size_t size = key.size();
        EVP_PKEY_get_raw_public_key(m_key.get(), reinterpret_cast<unsigned char*>(key.data()), &size);
        return key;
    }

    QByteArray sign(const QByteArray& message) const {
        QByteArray signature(64, '\0');
        size_t size = signature.size();
        const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                              &EVP_MD_CTX_free);
        EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, m_key.get());
        EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &size,
                       reinterpret_cast<const unsigned char*>(message.constData()), message.size());
        return signature.toBase64();
    }

private:
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> m_key;
};

struct Release {
    QString version;
    QString displayVersion;
    QUrl url = QUrl(u"https://example.com/dovrin.deb"_s);
    qint64 length = 1;
    QByteArray signature = "c2ln";
};

// An appcast whose last item carries its versions as elements, with release notes, and the others on their
// enclosure.
QByteArray appcast(const QList<Release>& releases) {
    QString items;
    for (const Release& release : releases) {
        const bool last = &release == &releases.last();
        const QString enclosure =
            u"<enclosure url=\"%1\" length=\"%2\" type=\"application/vnd.debian.binary-package\" "
            "sparkle:edSignature=\"%3\""_s.arg(release.url.toString())
                .arg(release.length)
                .arg(QString::fromLatin1(release.signature));
        const QString versions = u"sparkle:version=\"%1\" sparkle:shortVersionString=\"%2\""_s.arg(
            release.version, release.displayVersion);
        items +=
            last ? u"<item><title>Dovrin %2</title><sparkle:version>%1</sparkle:version>"
                   "<sparkle:shortVersionString>%2</sparkle:shortVersionString>"
                   "<sparkle:minimumSystemVersion>13.0</sparkle:minimumSystemVersion>"
                   "<description><![CDATA[<ul><li>Faster search</li></ul>]]></description>%3/></item>"_s.arg(
                       release.version, release.displayVersion, enclosure)
                 : u"<item><title>Dovrin %1</title>%2 %3/></item>"_s.arg(release.displayVersion, enclosure,
                                                                         versions);
    }
    return (u"<?xml version=\"1.0\" encoding=\"utf-8\"?><rss version=\"2.0\" "
            "xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel><title>Dovrin</title>"_s +
            items + u"</channel></rss>"_s)
        .toUtf8();
}

// The test's stand-in for `pkexec apt-get install`: a real process that writes down its arguments.
QString fakeInstaller(const QTemporaryDir& folder) {
    const QString program = folder.filePath(u"installer"_s);
    QFile script(program);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\necho \"$@\" > \"$0.arguments\"\n");
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return program;
}

UpdaterSetup testSetup(const FeedServer& server, const SigningKey& key, const QTemporaryDir& folder) {
    const QString installer = fakeInstaller(folder);
    return {server.url(u"/appcast.xml"_s),
            key.publicKey(),
            u"5"_s,
            u"1.4"_s,
            folder.filePath(u"updates"_s),
            true,
            [installer](const QString& package) {
                return InstallCommand{installer, {u"install"_s, package}};
            }};
}

} // namespace

class UpdaterTest final : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QSettings& settings = Dovrin::Core::appSettings();
        for (const QString& key : settings.allKeys())
            if (key.startsWith("update."_L1))
                settings.remove(key);
    }

    void versions_compareByNumbersAndPreReleases() {
        const QList<std::pair<QString, QString>> ascending{{"1.0", "1.0.1"},
                                                           {"1.0.1", "1.1"},
                                                           {"1.9", "1.10"},
                                                           {"2.0b1", "2.0"},
                                                           {"2.0a1", "2.0b1"},
                                                           {"1.0b9", "1.0b10"},
                                                           {"1.0rc", "1.0"},
                                                           {"0.9", "1.0a1"},
                                                           {"3.3 (5847)", "3.3.1b1 (5902)"},
                                                           {"1.5.5-335d3e2", "1.5.6-b252311"}};
        for (const auto& [older, newer] : ascending) {
            QVERIFY2(compareVersions(older, newer) < 0, qPrintable(older + u" < "_s + newer));
            QVERIFY2(compareVersions(newer, older) > 0, qPrintable(newer + u" > "_s + older));
        }
        const QList<std::pair<QString, QString>> equal{{"1.0", "1.0"},
                                                       {"1.0", "1.0.0"},
                                                       {"1.0pre1", "1.0.0pre1"},
                                                       {"1.5.5-335d3e2", "1.5.5-a655360"},
                                                       {"201210251627.0", "201210251627"}};
        for (const auto& [a, b] : equal) {
            QVERIFY2(compareVersions(a, b) == 0, qPrintable(a + u" == "_s + b));
            QVERIFY2(compareVersions(b, a) == 0, qPrintable(b + u" == "_s + a));
        }
    }

    void checks_offerOnlyNewerVersionsTheUserHasNotSkipped() {
        FeedServer server;
        SigningKey key;
        QTemporaryDir folder;
        Updater updater(testSetup(server, key, folder));
        QVERIFY(updater.isEnabled());
        QVERIFY(!Updater(UpdaterSetup{}).isEnabled());
        QSignalSpy found(&updater, &Updater::updateFoundInBackground);
        QSignalSpy windows(&updater, &Updater::windowRequested);
        QSignalSpy attended(&updater, &Updater::userAttended);
        QSignalSpy finished(&updater, &Updater::sessionFinished);
        server.serve(u"/appcast.xml"_s, {200, appcast({{"4", "1.3"}, {"6", "1.5"}, {"5", "1.4"}})});

        // The settings' toggles: off, the schedule asks for nothing (and downloading on its own can't be
        // chosen). On, it waits a day from the last check, or checks at once when that day is over, and then
        // only announces what it found.
        SoftwareUpdateSection section(updater);
        auto* checks = section.findChild<QCheckBox*>(u"automaticallyChecks"_s);
        auto* downloads = section.findChild<QCheckBox*>(u"automaticallyDownloads"_s);
        QVERIFY(checks->isChecked() && !downloads->isChecked() && downloads->isEnabled());
        checks->click();
        QVERIFY(!updater.automaticallyChecksForUpdates() && !downloads->isEnabled());
        updater.start();
        QVERIFY(!updater.isCheckScheduled());
        QSettings& settings = Dovrin::Core::appSettings();
        const QDateTime now = QDateTime::currentDateTimeUtc();
        settings.setValue("update.lastCheckTime", now.addSecs(-3600).toString(Qt::ISODate));
        checks->click();
        QVERIFY(updater.isCheckScheduled() && downloads->isEnabled());
        QCoreApplication::processEvents();
        QCOMPARE(server.requests(u"/appcast.xml"_s), 0);
        checks->click();
        settings.setValue("update.lastCheckTime", now.addSecs(-25 * 3600).toString(Qt::ISODate));
        QTest::ignoreMessage(QtInfoMsg, "update 1.5 (6) found in the background: menu item shown");
        checks->click();
        QTRY_COMPARE(found.count(), 1);
        QCOMPARE(found.first(), (QVariantList{u"1.5"_s, u"6"_s}));
        QCOMPARE(server.requests(u"/appcast.xml"_s), 1);
        QVERIFY(updater.isCheckScheduled() && updater.lastCheckTime() >= now);
        QCOMPARE(windows.count(), 0);
        QCOMPARE(updater.stage(), UpdateStage::available);

        // The user attends and skips it: the background check no longer offers it, the user's check does.
        updater.showAvailableUpdate();
        QCOMPARE(windows.count(), 1);
        QCOMPARE(attended.count(), 1);
        updater.skipThisVersion();
        QCOMPARE(updater.skippedVersion(), u"6"_s);
        QCOMPARE(finished.count(), 1);
        updater.checkForUpdatesInBackground();
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(found.count(), 1);
        QCOMPARE(server.requests(u"/appcast.xml"_s), 2);
        updater.checkForUpdates();
        QTRY_COMPARE(updater.stage(), UpdateStage::available);
        QCOMPARE(updater.update()->version, u"6"_s);
        QCOMPARE(windows.count(), 2);
        updater.remindMeLater();

        // Nothing newer than the running build (5): up to date.
        server.serve(u"/appcast.xml"_s, {200, appcast({{"5", "1.4"}, {"4.9", "1.3.9"}, {"5.0.0", "1.4"}})});
        updater.checkForUpdates();
        QTRY_COMPARE(updater.stage(), UpdateStage::upToDate);
        updater.dismiss();

        // A feed that is not well-formed, or missing, is refused with a message.
        server.serve(u"/appcast.xml"_s, {200, "<rss><channel><item><title>Dovrin</channel></rss>"});
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^update check failed: The update feed isn’t valid XML"));
        updater.checkForUpdates();
        QTRY_COMPARE(updater.stage(), UpdateStage::failed);
        QVERIFY2(updater.errorMessage().startsWith(u"The update feed isn’t valid XML (line 1: "_s),
                 qPrintable(updater.errorMessage()));
        updater.dismiss();
        server.serve(u"/appcast.xml"_s, {404, "gone"});
        QTest::ignoreMessage(
            QtWarningMsg,
            QRegularExpression("^update check failed: Dovrin couldn’t check for updates: .*Not Found"));
        updater.checkForUpdates();
        QTRY_COMPARE(updater.stage(), UpdateStage::failed);
        updater.dismiss();
        QCOMPARE(server.requests(u"/appcast.xml"_s), 6);
    }

    void downloads_keepOnlyAVerifiedPackageAndHandItToTheInstaller() {
        FeedServer server;
        SigningKey key;
        QTemporaryDir folder;
        Updater updater(testSetup(server, key, folder));
        QSignalSpy relaunch(&updater, &Updater::relaunchRequested);
        QByteArray package(300 * 1024, '\0');
        for (qsizetype i = 0; i < package.size(); ++i)
            package[i] = char(i * 7 % 251);
        const QByteArray signature = key.sign(package);
        server.serve(u"/dovrin_1.5_amd64.deb"_s, {200, package});
        server.serve(u"/cut.deb"_s, {200, package.left(1000), package.size()});
        // Whatever else is in the download folder is not the updater's to remove.
        const QDir downloads(folder.filePath(u"updates"_s));
        QVERIFY(downloads.mkpath(u"."_s));
        QFile other(downloads.filePath(u"notes.txt"_s));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();

        const struct {
            Release release;
            QString refusal;
        } refused[] = {
            {{"6", "1.5", server.url(u"/dovrin_1.5_amd64.deb"_s), package.size() + 1, signature},
             u"The download is incomplete or damaged: %1 bytes were expected, %2 arrived."_s
                 .arg(package.size() + 1)
                 .arg(package.size())},
            {{"6", "1.5", server.url(u"/dovrin_1.5_amd64.deb"_s), package.size(), key.sign("something else")},
             u"The update’s signature isn’t valid."_s},
            {{"6", "1.5", server.url(u"/dovrin_1.5_amd64.deb"_s), package.size(), {}},
             u"The update isn’t signed."_s},
            {{"6", "1.5", server.url(u"/cut.deb"_s), package.size(), key.sign(package.left(1000))},
             u"The update couldn’t be downloaded: "_s},
            {{"6", "1.5", server.url(u"/missing.deb"_s), package.size(), signature},
             u"The update couldn’t be downloaded: the server answered 404 Not Found."_s},
            {{"6", "1.5", QUrl(u"http://example.com/dovrin_1.5_amd64.deb"_s), package.size(), signature},
             u"The update’s address isn’t secure: http://example.com/dovrin_1.5_amd64.deb"_s},
        };
        for (const auto& [release, refusal] : refused) {
            server.serve(u"/appcast.xml"_s, {200, appcast({release})});
            updater.checkForUpdates();
            QTRY_COMPARE(updater.stage(), UpdateStage::available);
            QCOMPARE(updater.update()->descriptionHtml, u"<ul><li>Faster search</li></ul>"_s);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^update 6 refused: "_s));
            updater.installUpdate();
            QTRY_COMPARE(updater.stage(), UpdateStage::failed);
            QVERIFY2(updater.errorMessage().startsWith(refusal), qPrintable(updater.errorMessage()));
            QCOMPARE(downloads.entryList(QDir::Files | QDir::Hidden), QStringList{u"notes.txt"_s});
            updater.dismiss();
        }
        QCOMPARE(relaunch.count(), 0);

        // Downloading on its own: a background find is fetched and verified, then only asks to be installed.
        updater.setAutomaticallyDownloadsUpdates(true);
        server.serve(u"/appcast.xml"_s, {200, appcast({{"6", "1.5", server.url(u"/dovrin_1.5_amd64.deb"_s),
                                                        package.size(), signature}})});
        QSignalSpy found(&updater, &Updater::updateFoundInBackground);
        QTest::ignoreMessage(QtInfoMsg, "update 1.5 (6) found in the background: menu item shown");
        updater.checkForUpdatesInBackground();
        QTRY_COMPARE(found.count(), 1);
        QCOMPARE(updater.stage(), UpdateStage::readyToInstall);
        const QString installed = downloads.filePath(u"dovrin_1.5_amd64.deb"_s);
        QCOMPARE(updater.downloadedPackage(), installed);
        QCOMPARE(downloads.entryList(QDir::Files | QDir::Hidden),
                 (QStringList{u"dovrin_1.5_amd64.deb"_s, u"notes.txt"_s}));
        QFile saved(installed);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), package);

        updater.showAvailableUpdate();
        QTest::ignoreMessage(QtInfoMsg, "update 6 installed: relaunching");
        updater.installUpdate();
        QCOMPARE(updater.stage(), UpdateStage::installing);
        QTRY_COMPARE(relaunch.count(), 1);
        QCOMPARE(updater.stage(), UpdateStage::idle);
        QFile arguments(folder.filePath(u"installer.arguments"_s));
        QVERIFY(arguments.open(QIODevice::ReadOnly));
        QCOMPARE(arguments.readAll(), (u"install "_s + installed + u'\n').toUtf8());
        QCOMPARE(server.requests(u"/dovrin_1.5_amd64.deb"_s), 4);
    }
};

DOVRIN_TEST_MAIN(QApplication, UpdaterTest)

#include "UpdaterTest.moc"
