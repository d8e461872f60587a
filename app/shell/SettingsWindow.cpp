#include "app/shell/SettingsWindow.h"

#include "app/core/AppLanguage.h"
#include "app/core/AppSettings.h"
#include "app/core/Log.h"
#include "app/shell/ShortcutRecorder.h"
#include "app/stickies/StickyPalette.h"
#include "app/store/Note.h"
#include "shared/bridge/DataDirectory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
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

// Each language is named in itself, so that it can be found whatever the interface shows.
QString languageLabel(Core::AppLanguage language) {
    return language == Core::AppLanguage::english ? u"English"_s : u"简体中文"_s;
}

QLabel* noteLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

} // namespace

SettingsWindow::SettingsWindow(Stickies::StickyManager& manager, std::function<void()> relaunch,
                               QWidget* parent)
    : QWidget(parent, Qt::Window), m_manager(manager), m_relaunch(std::move(relaunch)),
      m_language(new QComboBox(this)),
      m_languageNote(noteLabel(tr("Takes effect after Dovrin relaunches."), this)),
      m_showInDock(new QCheckBox(tr("Show in taskbar"), this)), m_defaultColor(new QComboBox(this)) {
    setWindowTitle(tr("Settings"));
    m_language->setObjectName(languageKey);
    m_languageNote->setObjectName(u"languageNote"_s);
    m_defaultColor->setObjectName(defaultColorKey);
    for (const Core::AppLanguage language :
         {Core::AppLanguage::english, Core::AppLanguage::simplifiedChinese})
        m_language->addItem(languageLabel(language), Core::languageCode(language));
    for (const Store::StickyColor color : Store::allStickyColors())
        m_defaultColor->addItem(Stickies::swatchIcon(color), Store::displayName(color),
                                Store::rawValue(color));

    const std::optional<QString> folder = Bridge::dataDirectory();
    auto* location = new QLabel(folder ? QDir::toNativeSeparators(*folder) : tr("Unavailable"), this);
    location->setTextInteractionFlags(Qt::TextSelectableByMouse);
    location->setWordWrap(true);

    auto* newStickies = new QGroupBox(tr("New stickies"), this);
    auto* colorForm = new QFormLayout(newStickies);
    colorForm->addRow(tr("Default color"), m_defaultColor);

    auto* layout = new QVBoxLayout(this);
    auto* languageForm = new QFormLayout;
    languageForm->addRow(tr("Language"), m_language);
    languageForm->addRow(QString(), m_languageNote);
    layout->addLayout(languageForm);
    layout->addWidget(m_showInDock);
    layout->addWidget(noteLabel(tr("Dovrin lives in the system tray. Turn this on to also find it in the "
                                   "taskbar and the window switcher."),
                                this));
    layout->addWidget(newStickies);
    // Filled once the app's hot keys exist (setHotKeys).
    m_shortcuts = new QGroupBox(tr("Keyboard shortcuts"), this);
    m_shortcuts->hide();
    layout->addWidget(m_shortcuts);
    auto* storage = new QFormLayout;
    storage->addRow(tr("Notes folder"), location);
    layout->addLayout(storage);
    layout->addStretch();
    resize(480, 300);

    readStoredValues();
    connect(m_language, &QComboBox::currentIndexChanged, this, &SettingsWindow::chooseLanguage);
    connect(m_showInDock, &QCheckBox::toggled, this, [this](bool shown) {
        write(showInDockKey, shown);
        emit showInDockChanged(shown);
    });
    connect(m_defaultColor, &QComboBox::currentIndexChanged, this,
            [this] { write(defaultColorKey, m_defaultColor->currentData()); });
}

void SettingsWindow::showWindow() {
    readStoredValues();
    show();
    raise();
    activateWindow();
}

void SettingsWindow::setHotKeys(HotKeys& hotKeys) {
    auto* form = new QFormLayout(m_shortcuts);
    for (const HotKeyAction action : allHotKeyActions)
        form->addRow(title(action), new ShortcutRecorder(hotKeys, action, m_shortcuts));
    m_shortcuts->show();
}

void SettingsWindow::readStoredValues() {
    const QSettings& settings = Core::appSettings();
    const QSignalBlocker quietLanguage(m_language);
    m_language->setCurrentIndex(m_language->findData(Core::languageCode(Core::appLanguage())));
    showLanguageNote();
    const QSignalBlocker quietDock(m_showInDock);
    const QSignalBlocker quietColor(m_defaultColor);
    m_showInDock->setChecked(settings.value(showInDockKey, false).toBool());
    const Store::StickyColor color = Store::stickyColorIfKnown(settings.value(defaultColorKey).toString())
                                         .value_or(Store::StickyColor::yellow);
    m_defaultColor->setCurrentIndex(m_defaultColor->findData(Store::rawValue(color)));
}

void SettingsWindow::chooseLanguage() {
    write(languageKey, m_language->currentData());
    showLanguageNote();
    if (m_relaunchAlert)
        m_relaunchAlert->close();
    const Core::AppLanguage chosen = Core::appLanguage();
    if (chosen == Core::launchedLanguage())
        return;
    auto* alert = new QMessageBox(
        QMessageBox::Question, tr("Relaunch Dovrin to switch to %1?").arg(languageLabel(chosen)),
        tr("Relaunch Dovrin to switch to %1?").arg(languageLabel(chosen)), QMessageBox::NoButton, this);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setInformativeText(tr("Your stickies will be right where you left them."));
    QPushButton* relaunchNow = alert->addButton(tr("Relaunch Now"), QMessageBox::AcceptRole);
    alert->addButton(tr("Later"), QMessageBox::RejectRole);
    connect(alert, &QMessageBox::buttonClicked, this, [this, relaunchNow](QAbstractButton* button) {
        if (button == relaunchNow && m_relaunch)
            m_relaunch();
    });
    m_relaunchAlert = alert;
    alert->open();
}

void SettingsWindow::showLanguageNote() {
    m_languageNote->setVisible(Core::appLanguage() != Core::launchedLanguage());
}

void SettingsWindow::write(const QString& key, const QVariant& value) {
    QSettings& settings = Core::appSettings();
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qCWarning(Core::shellLog, "settings: %s not written to %s", qUtf8Printable(key),
                  qUtf8Printable(settings.fileName()));
}

} // namespace Dovrin::Shell
