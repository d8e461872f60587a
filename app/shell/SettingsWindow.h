#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;

namespace Dovrin::Stickies {
class StickyManager;
}

namespace Dovrin::Shell {

// The app's settings; every change is written to the settings file at once.
class SettingsWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(SettingsWindow)

public:
    explicit SettingsWindow(Stickies::StickyManager& manager, QWidget* parent = nullptr);

    // Reads the stored values again, then shows the window in front.
    void showWindow();

signals:
    // The user turned "Show in taskbar" on or off; the app's windows follow at once.
    void showInDockChanged(bool shown);

private:
    void readStoredValues();
    void write(const QString& key, const QVariant& value);

    Stickies::StickyManager& m_manager;
    QCheckBox* m_showInDock = nullptr;
    QComboBox* m_defaultColor = nullptr;
};

} // namespace Dovrin::Shell
