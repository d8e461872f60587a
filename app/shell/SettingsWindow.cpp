#include "SettingsWindow.h"

#include "AppSettings.h"
#include "DataDirectory.h"
#include "Log.h"
#include "Note.h"
#include "StickyPalette.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QSettings>
#include <QVBoxLayout>

namespace Dovrin::Shell {

namespace {

const QString showInDockKey = QStringLiteral("showInDock");
const QString defaultColorKey = QStringLiteral("defaultColor");

QIcon swatchIcon(Store::StickyColor color) {
    return QIcon(QPixmap::fromImage(Stickies::swatchImage(color, QSize(12, 12), qApp->devicePixelRatio(),
                                                          Stickies::currentAppearance())));
}

QLabel* noteLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

} // namespace

SettingsWindow::SettingsWindow(Stickies::StickyManager& manager, QWidget* parent)
    : QWidget(parent, Qt::Window), m_manager(manager),
      m_showInDock(new QCheckBox(tr("Show in taskbar"), this)), m_defaultColor(new QComboBox(this)) {
    setWindowTitle(tr("Settings"));
    for (const Store::StickyColor color : Store::allStickyColors())
        m_defaultColor->addItem(swatchIcon(color), Store::displayName(color), Store::rawValue(color));

    const std::optional<QString> folder = Bridge::dataDirectory();
    auto* location = new QLabel(folder ? QDir::toNativeSeparators(*folder) : tr("Unavailable"), this);
    location->setTextInteractionFlags(Qt::TextSelectableByMouse);
    location->setWordWrap(true);

    auto* newStickies = new QGroupBox(tr("New stickies"), this);
    auto* colorForm = new QFormLayout(newStickies);
    colorForm->addRow(tr("Default color"), m_defaultColor);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_showInDock);
    layout->addWidget(noteLabel(tr("Dovrin lives in the system tray. Turn this on to also find it in the "
                                   "taskbar and the window switcher."),
                                this));
    layout->addWidget(newStickies);
    auto* storage = new QFormLayout;
    storage->addRow(tr("Notes folder"), location);
    layout->addLayout(storage);
    layout->addStretch();
    resize(480, 300);

    readStoredValues();
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

void SettingsWindow::readStoredValues() {
    const QSettings& settings = Bridge::appSettings();
    const QSignalBlocker quietDock(m_showInDock);
    const QSignalBlocker quietColor(m_defaultColor);
    m_showInDock->setChecked(settings.value(showInDockKey, false).toBool());
    const Store::StickyColor color = Store::stickyColorIfKnown(settings.value(defaultColorKey).toString())
                                         .value_or(Store::StickyColor::yellow);
    m_defaultColor->setCurrentIndex(m_defaultColor->findData(Store::rawValue(color)));
}

void SettingsWindow::write(const QString& key, const QVariant& value) {
    QSettings& settings = Bridge::appSettings();
    settings.setValue(key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qCWarning(dovrinLog, "settings: %s not written to %s", qUtf8Printable(key),
                  qUtf8Printable(settings.fileName()));
}

} // namespace Dovrin::Shell
