#pragma once

#include "app/shell/Appcast.h"

#include <QByteArray>
#include <QDateTime>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QNetworkReply;
class QProcess;

namespace Dovrin::Shell {

class UpdateDownload;

// Where an update session stands; the update window shows one face per stage.
enum class UpdateStage {
    idle,
    checking,
    upToDate,
    available,
    downloading,
    readyToInstall,
    installing,
    failed
};

// The program and arguments that install a downloaded package.
struct InstallCommand {
    QString program;
    QStringList arguments;
};

// What the updater takes from the build and the system. Tests give their own feed, key, folder and installer.
struct UpdaterSetup {
    // The appcast (Sparkle RSS format); none means there is no updater at all.
    QUrl feedUrl;
    // The Ed25519 public key (32 raw bytes) that every package must be signed with.
    QByteArray publicKey;
    // The running build number (compared with sparkle:version) and the version people read.
    QString version;
    QString displayVersion;
    // Where packages are downloaded to.
    QString downloadFolder;
    // Whether this process is the installed program, which installing a package replaces. A build run from
    // its build folder is not: it offers the downloaded package in its folder instead.
    bool runsInstalledCopy = false;
    std::function<InstallCommand(const QString& package)> installCommand;

    // The build settings (feed, key, versions), the cache folder, and `pkexec apt-get install` (the desktop
    // asks for the administrator password).
    static UpdaterSetup fromBuild();
};

// Checks the update feed, on request and once a day in the background, and takes a found update through
// download, verification and installation. A background find never opens a window: it is announced with
// updateFoundInBackground so the tray can offer "Update Available…" until the user attends to it.
// Its preferences and the skipped version live in the app's settings.
class Updater final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(Updater)

public:
    // How often the background check runs while "Automatically check for updates" is on.
    static constexpr qint64 checkIntervalSeconds = 24 * 60 * 60;

    explicit Updater(QObject* parent = nullptr);
    explicit Updater(UpdaterSetup setup, QObject* parent = nullptr);
    ~Updater() override;

    // False when the build names no feed: no menu items, nothing is ever fetched.
    bool isEnabled() const;
    // Starts the daily schedule; the first check runs at once when the last one is a day old or more.
    void start();

    bool automaticallyChecksForUpdates() const;
    void setAutomaticallyChecksForUpdates(bool checks);
    bool automaticallyDownloadsUpdates() const;
    void setAutomaticallyDownloadsUpdates(bool downloads);
    // When the feed was last fetched (invalid before the first time), and the version the user skipped.
    QDateTime lastCheckTime() const;
    QString skippedVersion() const;
    bool isCheckScheduled() const;

    // "Check for Updates…": checks now and shows the window with what it found, or takes the user to the
    // update already under way.
    void checkForUpdates();
    // "Update Available…": shows the window for the update a background check found.
    void showAvailableUpdate();
    // Offers `item` in the window as a user's check that found it would, without fetching the feed (how the
    // window's preview shows a release).
    void offerUpdate(const AppcastItem& item);
    // What the daily check does: fetches the feed without a window, leaving out the skipped version, and
    // announces a find with updateFoundInBackground. Nothing happens while a session is under way.
    void checkForUpdatesInBackground();

    // What the update window shows.
    UpdateStage stage() const { return m_stage; }
    const std::optional<AppcastItem>& update() const { return m_update; }
    QString runningDisplayVersion() const { return m_setup.displayVersion; }
    qint64 bytesReceived() const { return m_bytesReceived; }
    QString errorMessage() const { return m_error; }
    // The verified package, once downloaded.
    QString downloadedPackage() const { return m_package; }
    bool canInstall() const { return m_setup.runsInstalledCopy; }

    // The update window's buttons: download (when needed), verify and install the update on offer; skip it
    // for the background checks to come; close the window until the next scheduled check; or close whatever
    // is shown, stopping a check or download under way.
    void installUpdate();
    void skipThisVersion();
    void remindMeLater();
    void dismiss();

signals:
    void stageChanged();
    void downloadProgress(qint64 received, qint64 total);
    void preferencesChanged();
    // The update window should come to the front.
    void windowRequested();
    // A background check found an update (and, when automatic download is on, downloaded and verified it).
    void updateFoundInBackground(const QString& displayVersion, const QString& version);
    // The user opened the update a background check found.
    void userAttended();
    // The session that a check began is over (the update was installed, skipped, put off, or failed).
    void sessionFinished();
    // The update is installed: the app should start its new version.
    void relaunchRequested();

private:
    void scheduleNextCheck();
    void beginCheck(bool userInitiated);
    void checkFinished(QNetworkReply* reply);
    void checkFailed(const QString& message);
    void announceInBackground();
    void startDownload();
    void downloadFinished(const QString& package, const QString& error);
    void install();
    void installerFinished(int exitCode, bool crashed);
    void fail(const QString& message);
    void finishSession();
    void setStage(UpdateStage stage);

    UpdaterSetup m_setup;
    QNetworkAccessManager m_network;
    QTimer m_schedule;
    bool m_started = false;
    UpdateStage m_stage = UpdateStage::idle;
    // Whether the user is looking at this session (they asked, or attended to a background find).
    bool m_userInitiated = false;
    std::optional<AppcastItem> m_update;
    QPointer<QNetworkReply> m_check;
    std::unique_ptr<UpdateDownload> m_download;
    QPointer<QProcess> m_installer;
    qint64 m_bytesReceived = 0;
    QString m_package;
    QString m_error;
};

} // namespace Dovrin::Shell
