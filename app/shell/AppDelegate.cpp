#include "app/shell/AppDelegate.h"

#include "app/agent/AgentServer.h"
#include "app/agent/Provenance.h"
#include "app/agent/ui/AgentIcons.h"
#include "app/agent/ui/AgentTray.h"
#include "app/core/AppLanguage.h"
#include "app/core/AppSettings.h"
#include "app/core/Log.h"
#include "app/core/ScreenSpace.h"
#include "app/shell/ConnectWindow.h"
#include "app/shell/GeneralSettings.h"
#include "app/shell/HotKeys.h"
#include "app/shell/LanguageStep.h"
#include "app/shell/LoginItem.h"
#include "app/shell/RecentlyDeleted.h"
#include "app/shell/Relauncher.h"
#include "app/shell/SearchPanel.h"
#include "app/shell/SettingsWindow.h"
#include "app/shell/SoftwareUpdateSection.h"
#include "app/shell/TrayMenu.h"
#include "app/shell/UpdateWindow.h"
#include "app/shell/Updater.h"
#include "app/stickies/AgentStickies.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"
#include "app/store/StoreError.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QSystemTrayIcon>
#include <QTextStream>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

bool hasDisplay() {
    const QString platform = QGuiApplication::platformName();
    return platform != "offscreen"_L1 && platform != "minimal"_L1;
}

void reportFatal(const QString& description) {
    const QString message = AppDelegate::tr("Dovrin can’t open your notes.");
    if (hasDisplay()) {
        QMessageBox box(QMessageBox::Critical, message, message, QMessageBox::Ok);
        box.setInformativeText(description);
        box.exec();
    } else {
        QTextStream(stderr) << message << '\n' << description << '\n';
    }
}

Store::StoreResult<std::unique_ptr<Store::NoteStore>> openAndPurge() {
    auto store = Store::NoteStore::openInDataDirectory();
    if (!store)
        return store.error();
    const auto purged = (*store)->purgeExpired(QDateTime::currentDateTimeUtc());
    if (!purged)
        return purged.error();
    qCInfo(Core::shellLog, "store %s new=%s purged=%ld", qUtf8Printable((*store)->filePath()),
           Core::logBool((*store)->isNew()), long(*purged));
    return std::move(store).value();
}

// Not quit(): that first asks every window to close, and a sticky answers a close by closing its note.
void endRun() {
    QCoreApplication::exit(0);
}

} // namespace

AppDelegate::AppDelegate(QObject* parent, Relaunch relaunch)
    : QObject(parent), m_onboarding(Core::appSettings()), m_relaunch(std::move(relaunch)) {
    if (!m_relaunch)
        m_relaunch = [] { return Relauncher(Core::appSettings()).relaunch(); };
}

AppDelegate::~AppDelegate() {
    // Everything below reaches the store, and the menu reaches the manager, until they are gone.
    m_languageStep.reset();
    m_connect.reset();
    m_updateWindow.reset();
    m_search.reset();
    m_recentlyDeleted.reset();
    m_settings.reset();
    m_hotKeys.reset();
    m_trayMenu.reset();
    m_agentTray.reset();
    m_trayIcon.reset();
    m_agents.reset();
    m_agentStickies.reset();
    m_manager.reset();
}

bool AppDelegate::launch(bool background) {
    if (!openStore())
        return false;
    m_startedInBackground = background;
    m_manager = std::make_unique<Stickies::StickyManager>(*m_store, Agent::Provenance::shared());
    m_manager->setConnectLinkClicked([this] { showConnectYourAI(); });
    m_updater = std::make_unique<Updater>();
    if (m_store->isNew())
        m_onboarding.setStage(Onboarding::Stage::chooseLanguage);
    // Until the language is chosen nothing else starts: no stickies, tray icon or agent server.
    if (m_onboarding.stage() == Onboarding::Stage::chooseLanguage)
        showLanguageStep(background);
    else
        finishLaunching();
    return true;
}

void AppDelegate::showLanguageStep(bool background) {
    m_languageStep =
        std::make_unique<LanguageStep>(Core::bestLanguageMatch(QLocale::system().uiLanguages()),
                                       [this](Core::AppLanguage language) { languageChosen(language); });
    // Closing it without a choice ends this launch; the next one asks again.
    connect(m_languageStep.get(), &LanguageStep::dismissed, this, &AppDelegate::quit);
    m_languageStep->showCentred(!background);
}

void AppDelegate::languageChosen(Core::AppLanguage language) {
    m_languageStep.release()->deleteLater();
    Core::storeSetting(Core::appSettings(), u"language"_s, Core::languageCode(language));
    m_onboarding.setStage(Onboarding::Stage::welcome);
    const bool relaunch = language != Core::launchedLanguage();
    qCInfo(Core::shellLog, "language chosen=%s launched=%s relaunch=%s",
           qUtf8Printable(Core::languageCode(language)),
           qUtf8Printable(Core::languageCode(Core::launchedLanguage())), Core::logBool(relaunch));
    // A relaunch that fails still brings the app up, in the language it runs in.
    if (relaunch)
        requestRelaunch([this] { finishLaunching(); });
    else
        finishLaunching();
}

bool AppDelegate::openStore() {
    auto store = openAndPurge();
    if (!store) {
        reportFatal(store.error().description);
        return false;
    }
    m_store = std::move(store).value();
    return true;
}

void AppDelegate::finishLaunching() {
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_trayIcon = std::make_unique<QSystemTrayIcon>(Agent::AgentIcons::normal());
        m_trayIcon->setToolTip(u"Dovrin"_s);
    }
    m_agentStickies = std::make_unique<Stickies::AgentStickies>(*m_manager, Agent::Provenance::shared());
    m_agents = std::make_unique<Agent::AgentServer>(*m_agentStickies, *m_store);
    m_agentTray = std::make_unique<Agent::AgentTray>(m_agents->activity(), m_trayIcon.get());
    // Presses arrive from the event loop, once the menu below exists.
    m_hotKeys = std::make_unique<HotKeys>([this](HotKeyAction action) {
        switch (action) {
        case HotKeyAction::newSticky:
            m_manager->newStickyAtMouse();
            break;
        case HotKeyAction::searchNotes:
            showSearch();
            break;
        case HotKeyAction::showHideAll:
            m_trayMenu->toggleShowAll();
            break;
        }
    });
    m_settings = std::make_unique<SettingsWindow>(*m_hotKeys, m_agents->activity(),
                                                  SettingsWindow::Actions{[this] { requestRelaunch([] {}); },
                                                                          [this] { showWelcomeNote(); },
                                                                          [this] { showConnectYourAI(); }});
    m_search = std::make_unique<SearchPanel>(*m_manager, [this] { return newStickyShortcutText(); });
    m_recentlyDeleted = std::make_unique<RecentlyDeleted>(*m_manager);
    m_manager->setOpenAtLoginLinkClicked([this] {
        if (const auto enabled = LoginItem::enable(); !enabled)
            qCWarning(Core::shellLog, "open at login: %s", qUtf8Printable(enabled.error()));
        showSettings(SettingsTab::general);
    });
    m_trayMenu = std::make_unique<TrayMenu>(*m_manager, *m_agentTray,
                                            TrayMenu::Handlers{[this] { newStickyFromMenu(); },
                                                               [this] { showSearch(); },
                                                               [this] { showRecentlyDeleted(); },
                                                               [this] { showConnectYourAI(); },
                                                               {},
                                                               {},
                                                               [this] { showSettings(); },
                                                               [this] { quit(); }});
    m_manager->setApplicationActions(m_trayMenu->applicationShortcuts());
    const auto showNewStickyShortcut = [this] {
        const std::optional<Shortcut> shortcut = m_hotKeys->shortcut(HotKeyAction::newSticky);
        m_trayMenu->setNewStickyShortcut(shortcut ? shortcut->menuEquivalent().value_or(QKeySequence())
                                                  : QKeySequence());
    };
    showNewStickyShortcut();
    connect(m_hotKeys.get(), &HotKeys::shortcutsChanged, this, showNewStickyShortcut);
    if (m_trayIcon) {
        m_trayIcon->setContextMenu(m_trayMenu->menu());
        // A click on the icon itself also opens the menu, as the tray's only entry point.
        connect(m_trayIcon.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger)
                        m_trayMenu->menu()->popup(m_trayIcon->geometry().bottomLeft());
                });
        m_trayIcon->show();
    } else {
        qCInfo(Core::shellLog, "no system tray: the menu is offered from every sticky");
        m_trayMenu->menu()->setTitle(u"Dovrin"_s);
        m_manager->setApplicationMenu(m_trayMenu->menu());
    }
    const auto showInTaskbar = [this](bool wanted) { m_manager->setShowsInTaskbar(wanted || !m_trayIcon); };
    showInTaskbar(Core::appSettings().value(u"showInDock"_s, false).toBool());
    connect(m_settings.get(), &SettingsWindow::showInDockChanged, this, showInTaskbar);
    startUpdater();
    if (m_onboarding.takeWelcome()) {
        showWelcomeNote();
    } else {
        m_manager->restoreOpenStickies();
        // After the links of the command line have been opened.
        if (!m_startedInBackground)
            QTimer::singleShot(0, this, &AppDelegate::showSomethingWithoutTray);
    }
}

void AppDelegate::showSomethingWithoutTray() {
    if (!m_trayIcon && m_manager->stickies().isEmpty())
        newStickyFromMenu();
}

void AppDelegate::startUpdater() {
    // A build without an update feed has no updater to show.
    if (!m_updater->isEnabled())
        return;
    m_settings->general().addSection(new SoftwareUpdateSection(*m_updater));
    m_updateWindow = std::make_unique<UpdateWindow>(*m_updater);
    // A find in the background waits in the tray menu until the user attends to it.
    connect(m_updater.get(), &Updater::updateFoundInBackground, this,
            [this] { m_trayMenu->setUpdateAvailable(true); });
    for (const auto attended : {&Updater::userAttended, &Updater::sessionFinished})
        connect(m_updater.get(), attended, this, [this] { m_trayMenu->setUpdateAvailable(false); });
    connect(m_updater.get(), &Updater::relaunchRequested, this, [this] { requestRelaunch([] {}); });
    m_updater->start();
}

void AppDelegate::showWelcomeNote() {
    m_manager->showWelcomeNote(newStickyShortcutText());
}

void AppDelegate::newStickyFromMenu() {
    // Below the tray icon; without one, below the main screen's top-right corner.
    QRectF anchor;
    if (m_trayIcon && !m_trayIcon->geometry().isEmpty()) {
        anchor = Core::ScreenSpace::fromWindow(m_trayIcon->geometry());
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRectF visible = Core::ScreenSpace::visibleFrame(*screen);
        anchor = QRectF(visible.right(), visible.bottom(), 0, 0);
    }
    m_manager->newStickyBelow(anchor);
}

void AppDelegate::openUrls(const QList<QUrl>& urls) {
    for (const QUrl& url : urls)
        m_manager->openUrl(url);
}

void AppDelegate::reopen() {
    if (m_languageStep) {
        m_languageStep->showCentred(true);
        return;
    }
    m_manager->showAll();
    showSomethingWithoutTray();
}

void AppDelegate::showSearch() {
    m_search->showPanel();
}

void AppDelegate::showRecentlyDeleted() {
    m_recentlyDeleted->showWindow();
}

void AppDelegate::showSettings(std::optional<SettingsTab> tab) {
    m_settings->showWindow(tab);
}

void AppDelegate::showConnectYourAI() {
    if (!m_connect)
        m_connect = std::make_unique<ConnectWindow>();
    m_connect->showWindow();
}

QString AppDelegate::newStickyShortcutText() const {
    const std::optional<Shortcut> shortcut =
        m_hotKeys ? m_hotKeys->shortcut(HotKeyAction::newSticky) : std::nullopt;
    return shortcut ? shortcut->displayText() : QString();
}

void AppDelegate::requestRelaunch(std::function<void()> fallback) {
    m_relaunchFallback = std::move(fallback);
    QTimer::singleShot(0, this, &AppDelegate::quit);
}

void AppDelegate::quit() {
    if (m_isQuitting)
        return;
    m_isQuitting = true;
    if (!m_manager) {
        endRun();
        return;
    }
    // An editor that never answers must not keep the app from ending.
    auto finished = std::make_shared<bool>(false);
    QTimer::singleShot(quitFlushTimeoutMs, this, [this, finished] {
        if (!std::exchange(*finished, true)) {
            qCWarning(Core::shellLog, "quit: editors did not answer within %d ms", quitFlushTimeoutMs);
            finishQuit(-1);
        }
    });
    m_manager->flushAll([this, finished](int flushed) {
        if (!std::exchange(*finished, true))
            finishQuit(flushed);
    });
}

void AppDelegate::finishQuit(int flushed) {
    if (flushed >= 0)
        qCInfo(Core::shellLog, "flushed %ld stickies before quit", long(flushed));
    if (!m_relaunchFallback) {
        endRun();
        return;
    }
    const std::function<void()> fallback = *std::exchange(m_relaunchFallback, std::nullopt);
    if (m_relaunch()) {
        endRun();
        return;
    }
    m_isQuitting = false;
    if (fallback)
        fallback();
}

} // namespace Dovrin::Shell
