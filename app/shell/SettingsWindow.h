#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMessageBox;

namespace Dovrin::Stickies {
class StickyManager;
}

namespace Dovrin::Shell {

class HotKeys;

// The app's settings; every change is written to the settings file at once.
class SettingsWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(SettingsWindow)

public:
    // `relaunch` quits and starts Dovrin again, for a new interface language.
    SettingsWindow(Stickies::StickyManager& manager, std::function<void()> relaunch,
                   QWidget* parent = nullptr);

    // Reads the stored values again, then shows the window in front.
    void showWindow();
    // Adds the "Keyboard shortcuts" rows, one recorder per global shortcut.
    void setHotKeys(HotKeys& hotKeys);

signals:
    // The user turned "Show in taskbar" on or off; the app's windows follow at once.
    void showInDockChanged(bool shown);

private:
    void readStoredValues();
    void chooseLanguage();
    void showLanguageNote();
    void write(const QString& key, const QVariant& value);

    Stickies::StickyManager& m_manager;
    std::function<void()> m_relaunch;
    QComboBox* m_language = nullptr;
    QLabel* m_languageNote = nullptr;
    QPointer<QMessageBox> m_relaunchAlert;
    QCheckBox* m_showInDock = nullptr;
    QComboBox* m_defaultColor = nullptr;
    QGroupBox* m_shortcuts = nullptr;
};

} // namespace Dovrin::Shell
