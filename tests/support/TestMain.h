#pragma once

#include <QByteArray>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace Dovrin::Testing {

// Every test binary starts in Qt's test mode: settings, the data directory and the other standard places
// live under ~/.qttest, so a test run by hand, outside CTest, never touches the user's notes or settings.
// `beforeApplication` runs before the application object exists (the editor engine needs that).
template <typename Application, typename Tests>
int runTests(int argc, char** argv, void (*beforeApplication)() = nullptr) {
    QStandardPaths::setTestModeEnabled(true);
    if (beforeApplication)
        beforeApplication();
    Application application(argc, argv);
    Tests tests;
    return QTest::qExec(&tests, argc, argv);
}

// A fresh home folder for as long as it lives, so that the test-mode config folder starts empty.
class TemporaryHome final {
public:
    TemporaryHome() : m_previous(qgetenv("HOME")) { qputenv("HOME", QFile::encodeName(m_folder.path())); }
    ~TemporaryHome() { qputenv("HOME", m_previous); }
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    // A path in the config folder (~/.qttest/config), its folder made.
    static QString configFile(const QString& name) {
        const QString path =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + name;
        QDir().mkpath(QFileInfo(path).path());
        return path;
    }

private:
    QTemporaryDir m_folder;
    QByteArray m_previous;
};

} // namespace Dovrin::Testing

#define DOVRIN_TEST_MAIN(Application, Tests)                                                                 \
    int main(int argc, char** argv) {                                                                        \
        return Dovrin::Testing::runTests<Application, Tests>(argc, argv);                                    \
    }
