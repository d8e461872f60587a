#pragma once

#include "app/shell/HotKeyAction.h"

#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;
class QToolButton;

namespace Dovrin::Shell {

class HotKeys;

// The settings' control for one global shortcut: a click records the next key combination (Escape alone
// cancels), a small button clears it, and what went wrong shows beside it.
class ShortcutRecorder final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ShortcutRecorder)

public:
    ShortcutRecorder(HotKeys& hotKeys, HotKeyAction action, QWidget* parent = nullptr);
    ~ShortcutRecorder() override;

    bool isRecording() const;
    QPushButton* button() const { return m_button; }
    // What a screen reader hears as the control's value: "Recording…", the shortcut or "None".
    QString accessibleValue() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void startRecording();
    void stopRecording();
    void record(int key, Qt::KeyboardModifiers modifiers);
    void clear();
    void refresh();

    HotKeys& m_hotKeys;
    const HotKeyAction m_action;
    QPushButton* m_button = nullptr;
    QToolButton* m_clear = nullptr;
    QLabel* m_problem = nullptr;
    // The modifiers held while recording, and the message of the last attempt.
    Qt::KeyboardModifiers m_held;
    std::optional<QString> m_problemText;
};

} // namespace Dovrin::Shell
