#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QMessageBox;
class QVBoxLayout;

namespace Dovrin::Shell {

class HotKeys;

// The General tab: the interface language, the taskbar entry, the colour of new stickies, the global
// shortcuts, opening at login and, where there is an updater, its section. Every change is stored at once.
class GeneralSettings final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(GeneralSettings)

public:
    // `relaunch` quits and starts Dovrin again, for a new interface language.
    GeneralSettings(HotKeys& hotKeys, std::function<void()> relaunch, QWidget* parent = nullptr);

    void readStoredValues();
    // The updater's section goes last.
    void addSection(QWidget* section);

signals:
    // "Show in taskbar" changed; the app's windows follow at once.
    void showInDockChanged(bool shown);

protected:
    // The autostart entry may change behind Dovrin's back; the toggle shows what is there.
    void changeEvent(QEvent* event) override;

private:
    void chooseLanguage();
    void setOpenAtLogin(bool wanted);
    void showLoginState();

    std::function<void()> m_relaunch;
    QVBoxLayout* m_layout = nullptr;
    QComboBox* m_language = nullptr;
    QLabel* m_languageNote = nullptr;
    QPointer<QMessageBox> m_relaunchAlert;
    QCheckBox* m_showInDock = nullptr;
    QComboBox* m_defaultColor = nullptr;
    QCheckBox* m_openAtLogin = nullptr;
    QLabel* m_loginError = nullptr;
};

} // namespace Dovrin::Shell
