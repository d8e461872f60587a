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
    void dovrinHome_isCreatedPrivate_unlessAFileIsInTheWay() {
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

        // A file in the way makes the folder unavailable.
        qputenv("DOVRIN_HOME", (home + "/Dovrin.sqlite").toUtf8());
        QFile blocker(home + "/Dovrin.sqlite");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(!dataDirectory());
        qputenv("DOVRIN_HOME", (home + "/Dovrin.sqlite/below").toUtf8());
        QVERIFY(!dataDirectory());
        QVERIFY(!dataFile("dv.sock"));
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
};

DOVRIN_TEST_MAIN(QCoreApplication, DataDirectoryTest)
#include "DataDirectoryTest.moc"
