#pragma once

#include "tests/support/TestMain.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

#include <cstring>

namespace Dovrin::Testing {

using namespace Qt::StringLiterals;

// A virtual X server of the test's own (Xvfb, no window manager), for what the offscreen platform cannot
// show: window properties, activation, screens.
// Tells a test binary started by PrivateXServer::runOnX11 to run its X11 tests.
inline constexpr char onX11Argument[] = "--on-x11";

class PrivateXServer final {
public:
    PrivateXServer() {
        m_process.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x800x24"_s,
                                    u"-nolisten"_s, u"tcp"_s});
        if (!m_process.waitForStarted())
            return;
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(10000))
                return;
        m_display = QLatin1Char(':') + QString::fromLatin1(m_process.readLine().trimmed());
    }
    ~PrivateXServer() {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    // Empty when Xvfb could not be started (the set-up script installs it, package xvfb).
    QString display() const { return m_display; }

    // This test binary again, on the xcb platform of this server, running its X11 tests (runTests); true
    // when they passed. `extra` adds to its environment.
    bool runOnX11(QString* output, const QProcessEnvironment& extra = {}) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DISPLAY"_s, m_display);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        for (const QString& key : extra.keys())
            environment.insert(key, extra.value(key));
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QLatin1String(onX11Argument)});
        const bool finished = child.waitForFinished(60000);
        *output = QString::fromLocal8Bit(child.readAll());
        return finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    }

private:
    QProcess m_process;
    QString m_display;
};

// A test binary's main: its offscreen tests, or its X11 tests when runOnX11 started it.
template <typename Application, typename Tests, typename X11Tests> int runTests(int argc, char** argv) {
    const bool onX11 = argc > 1 && std::strcmp(argv[1], onX11Argument) == 0;
    QStandardPaths::setTestModeEnabled(true);
    Application application(argc, argv);
    if (onX11) {
        X11Tests tests;
        return QTest::qExec(&tests, QStringList{QString::fromLocal8Bit(argv[0])});
    }
    Tests tests;
    return QTest::qExec(&tests, argc, argv);
}

} // namespace Dovrin::Testing
