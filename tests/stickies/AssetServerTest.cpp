#include "app/stickies/AssetServer.h"
#include "app/stickies/ImageStore.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

using namespace Dovrin::Stickies;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class AssetServerTest final : public QObject {
    Q_OBJECT

private slots:
    void lookup_servesTheIndexAndImagesButNothingOutsideTheirFolders() {
        QTemporaryDir temp;
        writeFile(temp.path() + "/dist/index.html", "<p>editor</p>");
        writeFile(temp.path() + "/secret.txt", "secret");
        writeFile(temp.path() + "/Images/a.png", "png");
        const AssetServer server(temp.path() + "/dist", temp.path() + "/Images");
        for (const char* url : {"app://local", "app://local/", "app://local/index.html"}) {
            const auto asset = server.lookup(QUrl(QString::fromUtf8(url)));
            QVERIFY2(asset, url);
            QCOMPARE(asset->body, QByteArray("<p>editor</p>"));
            QCOMPARE(asset->contentType, QByteArray("text/html; charset=utf-8"));
        }
        QVERIFY(!server.lookup(QUrl("app://local/missing.js")));
        QVERIFY(!server.lookup(QUrl("app://local/images/")));
        QCOMPARE(server.lookup(QUrl("app://local/images/a.png"))->body, QByteArray("png"));
        // QUrl keeps what the engine hands over; these are the paths a crafted URL could still carry.
        for (const char* path : {"/images/../secret.txt", "/images/..%2Fsecret.txt", "/../secret.txt",
                                 "/images/../dist/index.html", "/images/%2E%2E/secret.txt"}) {
            QUrl url("app://local");
            url.setPath(QString::fromLatin1(path), QUrl::TolerantMode);
            QVERIFY2(!server.lookup(url), path);
        }
    }

    void contentType_followsTheExtension_andImagesWithoutAFolderComeFromThePage() {
        QTemporaryDir temp;
        const QList<std::pair<QString, QByteArray>> cases = {
            {"index.js", "text/javascript; charset=utf-8"},
            {"index.css", "text/css; charset=utf-8"},
            {"images/logo.svg", "image/svg+xml"},
            {"font.woff2", "font/woff2"},
            {"photo.png", "image/png"},
            {"photo.JPG", "image/jpeg"},
            {"data.unknownext", "application/octet-stream"},
            {"noextension", "application/octet-stream"},
        };
        for (const auto& [name, type] : cases)
            writeFile(temp.path() + "/dist/" + name, name.toUtf8());
        writeFile(temp.path() + "/Images/logo.svg", "elsewhere");
        const AssetServer server(temp.path() + "/dist", std::nullopt);
        for (const auto& [name, type] : cases) {
            const auto asset = server.lookup(QUrl("app://local/" + name));
            QCOMPARE(asset->contentType, type);
            QCOMPARE(asset->body, name.toUtf8());
        }
    }

    void storeImage_writesAFileNamedForItsType() {
        QTemporaryDir temp;
        const ImageStore store(temp.path() + "/data/Images");
        const auto url = store.store("\x89PNG bytes", "image/png");
        QVERIFY2(url, qPrintable(url ? QString() : url.error().description));
        QVERIFY(url->startsWith("app://local/images/"));
        QVERIFY(url->endsWith(".png"));
        const QString name = url->mid(u"app://local/images/"_s.size());
        QCOMPARE(name, name.toLower());
        QFile file(temp.path() + "/data/Images/" + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\x89PNG bytes"));

        const AssetServer server(temp.path(), temp.path() + "/data/Images");
        QCOMPARE(server.lookup(QUrl(*url))->contentType, QByteArray("image/png"));
        QVERIFY(store.store("<svg/>", "image/svg+xml")->endsWith(".svg"));
    }

    void storeImage_refusesWhatIsNotAnImageAndAMissingFolder() {
        QTemporaryDir temp;
        const ImageStore store(temp.path() + "/Images");
        for (const QString& type :
             {u"text/plain"_s, u"text/html"_s, u"application/pdf"_s, u"image/not-a-thing"_s, u""_s}) {
            const auto url = store.store("bytes", type);
            QVERIFY(!url);
            QCOMPARE(url.error().description, "not an image type: " + type);
        }
        QVERIFY(!QFileInfo::exists(temp.path() + "/Images"));

        const auto unavailable = ImageStore(std::nullopt).store("bytes", "image/png");
        QCOMPARE(unavailable.error().description, u"data directory unavailable"_s);
        writeFile(temp.path() + "/blocker", "a file where the folder should be");
        QVERIFY(!ImageStore(temp.path() + "/blocker/Images").store("bytes", "image/png"));

        // The default folder follows the data directory, and there is none when that is unavailable.
        const QByteArray saved = qgetenv("DOVRIN_HOME");
        qputenv("DOVRIN_HOME", (temp.path() + "/blocker").toUtf8());
        QVERIFY(!imagesFolder());
        QCOMPARE(ImageStore().store("x", "image/png").error().description, u"data directory unavailable"_s);
        qputenv("DOVRIN_HOME", (temp.path() + "/home").toUtf8());
        QCOMPARE(*imagesFolder(), temp.path() + "/home/Images");
        qputenv("DOVRIN_HOME", saved);
    }

    void imageMessage_badInputIsAnsweredOrIgnored() {
        QTemporaryDir temp;
        const ImageStore store(temp.path() + "/Images");
        const auto stored = store.storeMessage({{"id", 7}, {"mime", "image/png"}, {"data", "iVBORw0KGgo="}});
        QVERIFY(stored);
        QCOMPARE(stored->id, 7);
        QVERIFY(stored->stored);
        QCOMPARE(stored->stored->bytes, 8);

        for (const QJsonObject& body :
             {QJsonObject{{"id", 8}, {"mime", "image/png"}, {"data", "not base64!"}},
              QJsonObject{{"id", 8}, {"mime", "image/png"}}, QJsonObject{{"id", 8}, {"data", "iVBORw0KGgo="}},
              QJsonObject{{"id", 8}, {"mime", "image/png"}, {"data", 12}},
              QJsonObject{{"id", 8}, {"mime", "image/png"}, {"data", "中文"}},
              QJsonObject{{"id", 8}, {"mime", "image/png"}, {"data", ""}}}) {
            const auto outcome = store.storeMessage(body);
            QVERIFY(outcome);
            QCOMPARE(outcome->id, 8);
            QCOMPARE(outcome->stored.error().description, u"malformed image message"_s);
        }
        const auto textType = store.storeMessage({{"id", 9}, {"mime", "text/plain"}, {"data", "aGk="}});
        QCOMPARE(textType->stored.error().description, u"not an image type: text/plain"_s);

        for (const QJsonValue& id : {QJsonValue("7"), QJsonValue(1.5), QJsonValue(), QJsonValue(1e300)})
            QVERIFY(!store.storeMessage({{"id", id}, {"mime", "image/png"}, {"data", "aGk="}}));
        QCOMPARE(QDir(temp.path() + "/Images").entryList(QDir::Files).size(), 1);
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, AssetServerTest)
#include "AssetServerTest.moc"
