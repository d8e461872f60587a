#include "app/shell/Updater.h"

#include "app/core/AppSettings.h"
#include "app/core/Log.h"
#include "app/shell/UpdateDownload.h"
#include "app/shell/UpdateRequest.h"
#include "app/shell/VersionComparison.h"
#include "generated/UpdateBuildSettings.h"
#include "generated/Version.h"

#include <QCoreApplication>
#include <QNetworkReply>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <chrono>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

const QString automaticallyChecksKey = u"update.automaticallyChecks"_s;
const QString automaticallyDownloadsKey = u"update.automaticallyDownloads"_s;
const QString lastCheckTimeKey = u"update.lastCheckTime"_s;
const QString skippedVersionKey = u"update.skippedVersion"_s;

void write(const QString& key, const QVariant& value) {
    QSettings& settings = Core::appSettings();
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qCWarning(Core::shellLog, "settings: %s not written to %s", qUtf8Printable(key),
                  qUtf8Printable(settings.fileName()));
}

// The last line an installer wrote to its error output says best why it failed.
QString lastLine(const QByteArray& output) {
    const QStringList lines = QString::fromLocal8Bit(output).split(u'\n', Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.last().trimmed();
}

} // namespace

UpdaterSetup UpdaterSetup::fromBuild() {
    UpdaterSetup setup;
    setup.feedUrl = QUrl(QString::fromUtf8(DOVRIN_UPDATE_FEED_URL));
    setup.publicKey = QByteArray::fromBase64(QByteArrayLiteral(DOVRIN_UPDATE_PUBLIC_KEY));
    setup.version = QString::fromUtf8(DOVRIN_BUILD_NUMBER);
    setup.displayVersion = QString::fromUtf8(DOVRIN_VERSION);
    setup.downloadFolder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + u"/updates"_s;
    setup.runsInstalledCopy = QCoreApplication::applicationFilePath().startsWith("/usr/bin/"_L1);
    setup.installCommand = [](const QString& package) {
        return InstallCommand{u"pkexec"_s, {u"apt-get"_s, u"install"_s, u"-y"_s, package}};
    };
    return setup;
}

Updater::Updater(QObject* parent) : Updater(UpdaterSetup::fromBuild(), parent) {}

Updater::Updater(UpdaterSetup setup, QObject* parent) : QObject(parent), m_setup(std::move(setup)) {
    m_schedule.setSingleShot(true);
    connect(&m_schedule, &QTimer::timeout, this, &Updater::checkForUpdatesInBackground);
}

Updater::~Updater() = default;

bool Updater::isEnabled() const {
    return m_setup.feedUrl.isValid() && !m_setup.feedUrl.isEmpty();
}

void Updater::start() {
    if (!isEnabled())
        return;
    m_started = true;
    scheduleNextCheck();
}

bool Updater::automaticallyChecksForUpdates() const {
    return Core::appSettings().value(automaticallyChecksKey, true).toBool();
}

void Updater::setAutomaticallyChecksForUpdates(bool checks) {
    if (checks == automaticallyChecksForUpdates())
        return;
    write(automaticallyChecksKey, checks);
    scheduleNextCheck();
    emit preferencesChanged();
}

bool Updater::automaticallyDownloadsUpdates() const {
    return Core::appSettings().value(automaticallyDownloadsKey, false).toBool();
}

void Updater::setAutomaticallyDownloadsUpdates(bool downloads) {
    if (downloads == automaticallyDownloadsUpdates())
        return;
    write(automaticallyDownloadsKey, downloads);
    emit preferencesChanged();
}

QDateTime Updater::lastCheckTime() const {
    return QDateTime::fromString(Core::appSettings().value(lastCheckTimeKey).toString(), Qt::ISODate);
}

QString Updater::skippedVersion() const {
    return Core::appSettings().value(skippedVersionKey).toString();
}

bool Updater::isCheckScheduled() const {
    return m_schedule.isActive();
}

void Updater::scheduleNextCheck() {
    m_schedule.stop();
    if (!m_started || !automaticallyChecksForUpdates())
        return;
    const QDateTime last = lastCheckTime();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const qint64 dueInMs = last.isValid() ? now.msecsTo(last.addSecs(checkIntervalSeconds)) : 0;
    m_schedule.start(std::chrono::milliseconds(std::clamp<qint64>(dueInMs, 0, checkIntervalSeconds * 1000)));
}

void Updater::offerUpdate(const AppcastItem& item) {
    finishSession();
    m_update = item;
    m_userInitiated = true;
    setStage(UpdateStage::available);
    emit windowRequested();
}

void Updater::checkForUpdatesInBackground() {
    if (!isEnabled())
        return;
    // The user is in the middle of a session: the background check waits for the next day.
    if (m_stage != UpdateStage::idle) {
        if (m_started && automaticallyChecksForUpdates())
            m_schedule.start(std::chrono::seconds(checkIntervalSeconds));
        return;
    }
    beginCheck(false);
}

void Updater::checkForUpdates() {
    if (!isEnabled())
        return;
    switch (m_stage) {
    case UpdateStage::available:
    case UpdateStage::downloading:
    case UpdateStage::readyToInstall:
    case UpdateStage::installing:
        showAvailableUpdate();
        return;
    case UpdateStage::checking:
        m_userInitiated = true;
        emit windowRequested();
        return;
    case UpdateStage::idle:
    case UpdateStage::upToDate:
    case UpdateStage::failed:
        beginCheck(true);
        return;
    }
}

void Updater::showAvailableUpdate() {
    if (!isEnabled())
        return;
    if (!m_update) {
        checkForUpdates();
        return;
    }
    const bool attending = !m_userInitiated;
    m_userInitiated = true;
    emit windowRequested();
    if (attending)
        emit userAttended();
}

void Updater::beginCheck(bool userInitiated) {
    m_update.reset();
    m_error.clear();
    m_userInitiated = userInitiated;
    write(lastCheckTimeKey, QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    scheduleNextCheck();
    setStage(UpdateStage::checking);
    if (userInitiated)
        emit windowRequested();
    m_check = fetchUpdateResource(m_network, m_setup.feedUrl);
    if (!m_check) {
        checkFailed(tr("The update feed’s address isn’t secure: %1").arg(m_setup.feedUrl.toDisplayString()));
        return;
    }
    connect(m_check, &QNetworkReply::finished, this,
            [this, reply = m_check.data()] { checkFinished(reply); });
}

void Updater::checkFinished(QNetworkReply* reply) {
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        checkFailed(tr("Dovrin couldn’t check for updates: %1").arg(reply->errorString()));
        return;
    }
    const Result<Appcast, QString> appcast = Appcast::parse(reply->readAll(), reply->url());
    if (!appcast) {
        checkFailed(appcast.error());
        return;
    }
    std::optional<AppcastItem> newest = appcast->newestUpdate(m_setup.version);
    // A skipped version, and any older one, is not offered again unless the user asks.
    const QString skipped = skippedVersion();
    if (newest && !m_userInitiated && !skipped.isEmpty() && compareVersions(newest->version, skipped) <= 0)
        newest.reset();
    if (!newest) {
        if (m_userInitiated)
            setStage(UpdateStage::upToDate);
        else
            finishSession();
        return;
    }
    m_update = std::move(newest);
    if (m_userInitiated)
        setStage(UpdateStage::available);
    else if (automaticallyDownloadsUpdates())
        startDownload();
    else
        announceInBackground();
}

void Updater::checkFailed(const QString& message) {
    qCWarning(Core::shellLog, "update check failed: %s", qUtf8Printable(message));
    if (m_userInitiated)
        fail(message);
    else
        finishSession();
}

void Updater::announceInBackground() {
    setStage(m_package.isEmpty() ? UpdateStage::available : UpdateStage::readyToInstall);
    qCInfo(Core::shellLog, "update %s (%s) found in the background: menu item shown",
           qUtf8Printable(m_update->displayVersion), qUtf8Printable(m_update->version));
    emit updateFoundInBackground(m_update->displayVersion, m_update->version);
}

void Updater::installUpdate() {
    if (m_stage == UpdateStage::available)
        startDownload();
    else if (m_stage == UpdateStage::readyToInstall && canInstall())
        install();
}

void Updater::startDownload() {
    m_bytesReceived = 0;
    m_package.clear();
    setStage(UpdateStage::downloading);
    m_download = std::make_unique<UpdateDownload>(
        m_network, *m_update, m_setup.publicKey, m_setup.downloadFolder,
        [this](const Result<VerifiedPackage, QString>& result) {
            downloadFinished(result ? result->path : QString(), result ? QString() : result.error());
        });
    connect(m_download.get(), &UpdateDownload::progress, this, [this](qint64 received, qint64 total) {
        m_bytesReceived = received;
        emit downloadProgress(received, total);
    });
}

void Updater::downloadFinished(const QString& package, const QString& error) {
    // Called from inside the download: it goes once control has left it.
    m_download.release()->deleteLater();
    if (!error.isEmpty()) {
        qCWarning(Core::shellLog, "update %s refused: %s", qUtf8Printable(m_update->version),
                  qUtf8Printable(error));
        if (m_userInitiated)
            fail(error);
        else
            finishSession();
        return;
    }
    m_package = package;
    if (!m_userInitiated)
        announceInBackground();
    else if (canInstall())
        install();
    else
        setStage(UpdateStage::readyToInstall);
}

void Updater::install() {
    setStage(UpdateStage::installing);
    const InstallCommand command = m_setup.installCommand(m_package);
    auto* installer = new QProcess(this);
    m_installer = installer;
    connect(installer, &QProcess::finished, this,
            [this, installer](int exitCode, QProcess::ExitStatus status) {
                installer->deleteLater();
                installerFinished(exitCode, status == QProcess::CrashExit);
            });
    connect(installer, &QProcess::errorOccurred, this, [this, installer](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        installer->deleteLater();
        fail(tr("The update couldn’t be installed: %1").arg(installer->errorString()));
    });
    installer->start(command.program, command.arguments);
}

void Updater::installerFinished(int exitCode, bool crashed) {
    if (m_stage != UpdateStage::installing)
        return;
    if (crashed || exitCode != 0) {
        const QString reason = lastLine(m_installer ? m_installer->readAllStandardError() : QByteArray());
        fail(tr("The update couldn’t be installed: %1")
                 .arg(reason.isEmpty() ? tr("the installer ended with status %1.").arg(exitCode) : reason));
        return;
    }
    qCInfo(Core::shellLog, "update %s installed: relaunching", qUtf8Printable(m_update->version));
    finishSession();
    emit relaunchRequested();
}

void Updater::skipThisVersion() {
    if (m_update)
        write(skippedVersionKey, m_update->version);
    finishSession();
}

void Updater::remindMeLater() {
    finishSession();
}

void Updater::dismiss() {
    // Once the desktop has asked for the password, the installer can't be called back; it ends the session.
    if (m_stage != UpdateStage::installing)
        finishSession();
}

void Updater::fail(const QString& message) {
    m_error = message;
    setStage(UpdateStage::failed);
}

void Updater::finishSession() {
    if (m_check) {
        m_check->disconnect(this);
        m_check->abort();
        m_check->deleteLater();
    }
    m_download.reset();
    const bool wasRunning = m_stage != UpdateStage::idle;
    m_update.reset();
    m_package.clear();
    m_error.clear();
    m_userInitiated = false;
    setStage(UpdateStage::idle);
    if (wasRunning)
        emit sessionFinished();
}

void Updater::setStage(UpdateStage stage) {
    if (stage == m_stage)
        return;
    m_stage = stage;
    emit stageChanged();
}

} // namespace Dovrin::Shell
