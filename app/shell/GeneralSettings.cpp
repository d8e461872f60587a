#include "app/shell/GeneralSettings.h"

#include "app/core/AppLanguage.h"
#include "app/core/AppSettings.h"
#include "app/core/Log.h"
#include "app/shell/LoginItem.h"
#include "app/shell/SettingsSection.h"
#include "app/shell/ShortcutRecorder.h"
#include "app/stickies/StickyPalette.h"
#include "app/store/Note.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

const QString languageKey = u"language"_s;
const QString showInDockKey = u"showInDock"_s;
const QString defaultColorKey = u"defaultColor"_s;

} // namespace

GeneralSettings::GeneralSettings(HotKeys& hotKeys, std::function<void()> relaunch, QWidget* parent)
    : QWidget(parent), m_relaunch(std::move(relaunch)), m_layout(new QVBoxLayout(this)),
      m_language(new QComboBox), m_showInDock(new QCheckBox), m_defaultColor(new QComboBox),
      m_openAtLogin(new QCheckBox) {
    m_language->setObjectName(languageKey);
    m_showInDock->setObjectName(showInDockKey);
    m_defaultColor->setObjectName(defaultColorKey);
    m_openAtLogin->setObjectName(u"openAtLogin"_s);
    for (const Core::AppLanguage language :
         {Core::AppLanguage::english, Core::AppLanguage::simplifiedChinese})
        m_language->addItem(Core::languageLabel(language), Core::languageCode(language));
    for (const Store::StickyColor color : Store::allStickyColors())
        m_defaultColor->addItem(Stickies::swatchIcon(color), Store::displayName(color),
                                Store::rawValue(color));

    auto* basics = new SettingsSection(QString(), this);
    m_languageNote = basics->addRow(tr("Language"), m_language, tr("Takes effect after Dovrin relaunches."));
    m_languageNote->setObjectName(u"languageNote"_s);
    basics->addRow(tr("Show in taskbar"), m_showInDock,
                   tr("Dovrin lives in the system tray. Turn this on to also find it in the taskbar and the "
                      "window switcher."));

    auto* newStickies = new SettingsSection(tr("New stickies"), this);
    newStickies->addRow(tr("Default color"), m_defaultColor);

    auto* shortcuts = new SettingsSection(tr("Keyboard shortcuts"), this);
    for (const HotKeyAction action : allHotKeyActions)
        shortcuts->addRow(title(action), new ShortcutRecorder(hotKeys, action));

    auto* login = new SettingsSection(QString(), this);
    m_loginError = login->addRow(tr("Open Dovrin at login"), m_openAtLogin, u" "_s);
    m_loginError->setObjectName(u"loginError"_s);

    m_layout->setContentsMargins(20, 20, 20, 20);
    m_layout->setSpacing(18);
    for (QWidget* section : {basics, newStickies, shortcuts, login})
        m_layout->addWidget(section);
    m_layout->addStretch();

    readStoredValues();
    connect(m_language, &QComboBox::currentIndexChanged, this, &GeneralSettings::chooseLanguage);
    connect(m_showInDock, &QCheckBox::toggled, this, [this](bool shown) {
        Core::storeSetting(Core::appSettings(), showInDockKey, shown);
        emit showInDockChanged(shown);
    });
    connect(m_defaultColor, &QComboBox::currentIndexChanged, this, [this] {
        Core::storeSetting(Core::appSettings(), defaultColorKey, m_defaultColor->currentData());
    });
    connect(m_openAtLogin, &QCheckBox::toggled, this, &GeneralSettings::setOpenAtLogin);
}

void GeneralSettings::addSection(QWidget* section) {
    section->setParent(this);
    m_layout->insertWidget(m_layout->count() - 1, section);
}

void GeneralSettings::readStoredValues() {
    const QSettings& settings = Core::appSettings();
    const QSignalBlocker quietLanguage(m_language);
    m_language->setCurrentIndex(m_language->findData(Core::languageCode(Core::appLanguage())));
    m_languageNote->setVisible(Core::appLanguage() != Core::launchedLanguage());
    const QSignalBlocker quietDock(m_showInDock);
    m_showInDock->setChecked(settings.value(showInDockKey, false).toBool());
    const QSignalBlocker quietColor(m_defaultColor);
    const Store::StickyColor color = Store::stickyColorIfKnown(settings.value(defaultColorKey).toString())
                                         .value_or(Store::StickyColor::yellow);
    m_defaultColor->setCurrentIndex(m_defaultColor->findData(Store::rawValue(color)));
    showLoginState();
}

void GeneralSettings::chooseLanguage() {
    Core::storeSetting(Core::appSettings(), languageKey, m_language->currentData());
    const Core::AppLanguage chosen = Core::appLanguage();
    const bool differs = chosen != Core::launchedLanguage();
    m_languageNote->setVisible(differs);
    if (m_relaunchAlert)
        m_relaunchAlert->close();
    if (!differs)
        return;
    const QString question = tr("Relaunch Dovrin to switch to %1?").arg(Core::languageLabel(chosen));
    auto* alert = new QMessageBox(QMessageBox::Question, question, question, QMessageBox::NoButton, this);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setInformativeText(tr("Your stickies will be right where you left them."));
    QPushButton* relaunchNow = alert->addButton(tr("Relaunch Now"), QMessageBox::AcceptRole);
    alert->addButton(tr("Later"), QMessageBox::RejectRole);
    alert->setDefaultButton(relaunchNow);
    connect(alert, &QMessageBox::buttonClicked, this, [this, relaunchNow](QAbstractButton* button) {
        if (button == relaunchNow && m_relaunch)
            m_relaunch();
    });
    m_relaunchAlert = alert;
    alert->open();
}

void GeneralSettings::setOpenAtLogin(bool wanted) {
    const Result<void, QString> changed = wanted ? LoginItem::enable() : LoginItem::disable();
    qCInfo(Core::shellLog, "open at login %d -> status %ld", int(wanted), long(LoginItem::isEnabled()));
    if (!changed)
        qCWarning(Core::shellLog, "open at login: %s", qUtf8Printable(changed.error()));
    showLoginState();
    m_loginError->setText(changed ? QString() : changed.error());
    m_loginError->setVisible(!changed);
}

void GeneralSettings::showLoginState() {
    const QSignalBlocker quiet(m_openAtLogin);
    m_openAtLogin->setChecked(LoginItem::isEnabled());
    if (m_loginError->text().trimmed().isEmpty())
        m_loginError->hide();
}

void GeneralSettings::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        showLoginState();
}

} // namespace Dovrin::Shell
