#include "shared/bridge/DataDirectory.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Dovrin::Bridge;

class DataDirectoryTest final : public QObject {
    Q_OBJECT

private slots:
    void dovrinHome_isCreatedPrivate() {
        QTemporaryDir temp;
        const QString home = temp.path() + "/nested/home";
        qputenv("DOVRIN_HOME", home.toUtf8());
        const auto directory = dataDirectory();
        QVERIFY(directory);
        QCOMPARE(*directory, home);
        QCOMPARE(QFileInfo(home).permissions() & QFileDevice::ReadOther, QFileDevice::Permissions());
        QCOMPARE(QFileInfo(home).permissions() & (QFileDevice::ReadOwner | QFileDevice::WriteOwner),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(*dataFile("Dovrin.sqlite"), home + "/Dovrin.sqlite");
    }

    void withoutDovrinHome_xdgDataHomeOutsideTestsOnly() {
        QTemporaryDir temp;
        qunsetenv("DOVRIN_HOME");
        qputenv("XDG_DATA_HOME", temp.path().toUtf8());
        QCOMPARE(*dataDirectory(), QDir::homePath() + "/.qttest/share/dovrin");
        QStandardPaths::setTestModeEnabled(false);
        const auto directory = dataDirectory();
        QStandardPaths::setTestModeEnabled(true);
        QCOMPARE(*directory, temp.path() + "/dovrin");
    }

    void fileInTheWay_isUnavailable() {
        QTemporaryDir temp;
        QFile blocker(temp.path() + "/blocker");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv("DOVRIN_HOME", (temp.path() + "/blocker").toUtf8());
        QVERIFY(!dataDirectory());
        qputenv("DOVRIN_HOME", (temp.path() + "/blocker/below").toUtf8());
        QVERIFY(!dataDirectory());
        QVERIFY(!dataFile("dv.sock"));
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, DataDirectoryTest)
#include "DataDirectoryTest.moc"
