#include "app/store/NoteStore.h"
#include "generated/Version.h"
#include "tests/support/TestMain.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace Dovrin;
using namespace Qt::StringLiterals;

namespace {

struct Run {
    int code = -1;
    QString output;
};

// Runs a program to its end, its output and errors together.
Run run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(180000))
        process.kill();
    process.waitForFinished();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

// Reads until `text` has come, the process ended or a minute has passed.
QString readUntil(QProcess& process, const QString& text) {
    QString output;
    for (QDeadlineTimer deadline(60000); !output.contains(text) && !deadline.hasExpired();) {
        if (process.state() == QProcess::NotRunning && process.bytesAvailable() == 0)
            break;
        process.waitForReadyRead(100);
        output += QString::fromUtf8(process.readAll());
    }
    return output;
}

} // namespace

class PackageTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        const QString config = qEnvironmentVariable("DOVRIN_BUILD_DIR") + "/CPackConfig.cmake";
        const Run cpack = run(QString::fromUtf8(DOVRIN_CPACK), {"--config", config, "-B", m_work.path()});
        QVERIFY2(cpack.code == 0, qPrintable(cpack.output));
        const QStringList debs = QDir(m_work.path()).entryList({"dovrin_" DOVRIN_VERSION "_*.deb"});
        QCOMPARE(debs.size(), 1);
        m_deb = m_work.filePath(debs.first());
        const Run unpack = run("dpkg-deb", {"-x", m_deb, m_work.filePath("root")});
        QVERIFY2(unpack.code == 0, qPrintable(unpack.output));
        // The executable's folder, as the app sees it, has its links resolved.
        m_root = QDir(m_work.filePath("root")).canonicalPath();
    }

    void package_holdsBothProgramsTheirFilesAndValidDesktopMetadata() {
        const Run control = run("dpkg-deb", {"--field", m_deb, "Package", "Version", "Section", "Depends"});
        for (const QString& field :
             {u"Package: dovrin\n"_s, u"Version: " DOVRIN_VERSION "\n"_s, u"Section: utils\n"_s,
              u"libqt6webenginecore6 ("_s, u"libqt6webenginecore6-bin"_s, u"libqt6svg6"_s})
            QVERIFY2(control.output.contains(field), qPrintable(control.output));

        const QString desktop = "/usr/share/applications/" DOVRIN_APP_ID ".desktop";
        const QString metainfo = "/usr/share/metainfo/" DOVRIN_APP_ID ".metainfo.xml";
        QStringList files{"/usr/bin/dovrin",
                          "/usr/bin/dovrin-mcp",
                          "/usr/share/dovrin/editor/index.html",
                          "/usr/share/dovrin/translations/dovrin_en.qm",
                          "/usr/share/dovrin/translations/dovrin_zh_Hans.qm",
                          "/usr/share/icons/hicolor/scalable/apps/" DOVRIN_APP_ID ".svg",
                          desktop,
                          metainfo};
        for (const int size : {16, 24, 32, 48, 64, 128, 256})
            files << u"/usr/share/icons/hicolor/%1x%1/apps/" DOVRIN_APP_ID ".png"_s.arg(size);
        for (const QString& file : files)
            QVERIFY2(QFileInfo::exists(m_root + file), qPrintable(file));

        QFile entry(m_root + desktop);
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        QVERIFY2(text.contains("\nExec=dovrin %u\n") &&
                     text.contains("\nMimeType=x-scheme-handler/dovrin;\n") &&
                     text.contains("\nIcon=" DOVRIN_APP_ID "\n"),
                 qPrintable(text));
        const Run entryCheck = run("desktop-file-validate", {m_root + desktop});
        QVERIFY2(entryCheck.code == 0 && entryCheck.output.isEmpty(), qPrintable(entryCheck.output));
        const Run metainfoCheck = run("appstreamcli", {"validate", "--no-net", m_root + metainfo});
        QVERIFY2(metainfoCheck.code == 0, qPrintable(metainfoCheck.output));
    }

    void unpackedPrograms_runOnThePackagesOwnFiles() {
        // Short enough for the socket path.
        QTemporaryDir home(u"/tmp/dv-XXXXXX"_s);
        QFile settings(home.filePath("settings.json"));
        QVERIFY(settings.open(QIODevice::WriteOnly) && settings.write(R"({"letAIOpenDovrin": false})"));
        settings.close();
        QSettings(home.filePath("config/dovrin/dovrin.conf"), QSettings::IniFormat)
            .setValue("language", "zh-Hans");
        const Store::Note note = Store::NoteStore::open(home.filePath("Dovrin.sqlite"))
                                     .value()
                                     ->create({{"Packed", Store::StickyColor::green, {}, {}}}, "user", {},
                                              QDateTime::currentDateTimeUtc())
                                     ->first();

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DOVRIN_APP");
        environment.remove("DOVRIN_EDITOR_DIST");
        environment.insert("DOVRIN_HOME", home.path());
        environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");
        environment.insert("QT_LOGGING_RULES", "dovrin.*=true");

        QProcess mcp;
        mcp.setProcessEnvironment(environment);
        mcp.start(m_root + "/usr/bin/dovrin-mcp");
        const QJsonObject initialize{
            {"jsonrpc", "2.0"},
            {"id", 1},
            {"method", "initialize"},
            {"params", QJsonObject{{"protocolVersion", "2025-06-18"},
                                   {"capabilities", QJsonObject()},
                                   {"clientInfo", QJsonObject{{"name", "package-test"}, {"version", "1"}}}}}};
        mcp.write(QJsonDocument(initialize).toJson(QJsonDocument::Compact) + '\n');
        const QString answer = readUntil(mcp, "\n");
        const QJsonObject server =
            QJsonDocument::fromJson(answer.toUtf8()).object()["result"].toObject()["serverInfo"].toObject();
        QVERIFY2(server["name"] == "dovrin" && server["version"] == DOVRIN_VERSION, qPrintable(answer));
        mcp.closeWriteChannel();
        QVERIFY(mcp.waitForFinished(10000));

        // The page and the translations come from the package, never from this build tree.
        QProcess app;
        app.setProcessEnvironment(environment);
        app.setProcessChannelMode(QProcess::MergedChannels);
        app.start(m_root + "/usr/bin/dovrin", {"--background"});
        const QString output = readUntil(app, "ready note=" + note.idText());
        app.terminate();
        QVERIFY(app.waitForFinished(10000));
        QVERIFY2(output.contains("ready note=" + note.idText()), qPrintable(output));
        QVERIFY2(output.contains("editor page from " + m_root + "/usr/share/dovrin/editor\n"),
                 qPrintable(output));
        QVERIFY2(output.contains("translations: loaded " + m_root +
                                 "/usr/share/dovrin/translations/dovrin_zh_Hans.qm"),
                 qPrintable(output));
        QVERIFY2(!output.contains(qEnvironmentVariable("DOVRIN_BUILD_DIR")), qPrintable(output));
        QCOMPARE(app.exitCode(), 0);
    }

private:
    QTemporaryDir m_work;
    QString m_deb;
    QString m_root;
};

DOVRIN_TEST_MAIN(QCoreApplication, PackageTest)
#include "PackageTest.moc"
