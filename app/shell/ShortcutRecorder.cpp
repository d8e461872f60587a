#include "app/shell/ShortcutRecorder.h"

#include "app/shell/HotKeys.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace Dovrin::Shell {

namespace {

// The recorder's button as a screen reader sees it: named after the action, valued with the shortcut.
class RecorderButtonAccessible final : public QAccessibleWidget {
public:
    RecorderButtonAccessible(QPushButton* button, ShortcutRecorder* recorder)
        : QAccessibleWidget(button, QAccessible::Button), m_recorder(recorder) {}

    QString text(QAccessible::Text type) const override {
        return type == QAccessible::Value ? m_recorder->accessibleValue() : QAccessibleWidget::text(type);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction())
            m_recorder->button()->click();
    }

private:
    ShortcutRecorder* m_recorder;
};

QAccessibleInterface* createInterface(const QString&, QObject* object) {
    auto* recorder = object ? qobject_cast<ShortcutRecorder*>(object->parent()) : nullptr;
    if (recorder && recorder->button() == object)
        return new RecorderButtonAccessible(recorder->button(), recorder);
    return nullptr;
}

void installAccessible() {
    static const bool installed = (QAccessible::installFactory(createInterface), true);
    Q_UNUSED(installed);
}

// A modifier key's own press or release only changes what is held.
Qt::KeyboardModifiers modifierOf(int key) {
    switch (key) {
    case Qt::Key_Control:
        return Qt::ControlModifier;
    case Qt::Key_Shift:
        return Qt::ShiftModifier;
    case Qt::Key_Alt:
        return Qt::AltModifier;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return Qt::MetaModifier;
    default:
        return Qt::NoModifier;
    }
}

bool isLoneModifierKey(int key) {
    return modifierOf(key) || key == Qt::Key_AltGr || key == Qt::Key_CapsLock || key == Qt::Key_NumLock ||
           key == Qt::Key_Hyper_L || key == Qt::Key_Hyper_R;
}

constexpr Qt::KeyboardModifiers shortcutModifiers =
    Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier;

} // namespace

ShortcutRecorder::ShortcutRecorder(HotKeys& hotKeys, HotKeyAction action, QWidget* parent)
    : QWidget(parent), m_hotKeys(hotKeys), m_action(action), m_button(new QPushButton(this)),
      m_clear(new QToolButton(this)), m_problem(new QLabel(this)) {
    installAccessible();
    m_button->setFlat(true);
    m_button->setCheckable(true);
    m_button->setAccessibleName(tr("%1 shortcut").arg(title(action)));
    m_button->installEventFilter(this);
    m_clear->setIcon(style()->standardIcon(QStyle::SP_LineEditClearButton));
    m_clear->setAutoRaise(true);
    m_clear->setAccessibleName(tr("Clear %1 shortcut").arg(title(action)));
    m_clear->setToolTip(m_clear->accessibleName());
    m_problem->setForegroundRole(QPalette::PlaceholderText);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_button);
    layout->addWidget(m_clear);
    layout->addWidget(m_problem, 1);
    // Keeps the button at its own width while no problem is shown.
    layout->addStretch();

    connect(m_button, &QPushButton::clicked, this, &ShortcutRecorder::startRecording);
    connect(m_clear, &QToolButton::clicked, this, &ShortcutRecorder::clear);
    connect(&m_hotKeys, &HotKeys::shortcutsChanged, this, &ShortcutRecorder::refresh);
    connect(&m_hotKeys, &HotKeys::recordingChanged, this, [this] {
        // Another recorder started: this one lets the keyboard go.
        if (!isRecording() && QWidget::keyboardGrabber() == m_button)
            m_button->releaseKeyboard();
        refresh();
    });
    refresh();
}

ShortcutRecorder::~ShortcutRecorder() {
    if (isRecording())
        m_hotKeys.setRecording(std::nullopt);
}

bool ShortcutRecorder::isRecording() const {
    return m_hotKeys.recording() == m_action;
}

QString ShortcutRecorder::accessibleValue() const {
    if (isRecording())
        return tr("Recording…");
    const std::optional<Shortcut> shortcut = m_hotKeys.shortcut(m_action);
    return shortcut ? shortcut->displayText() : tr("None");
}

bool ShortcutRecorder::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_button || !isRecording())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Every key goes to the recorder, none to the window's shortcuts or focus moves.
        event->accept();
        return true;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isLoneModifierKey(key->key())) {
            m_held = (key->modifiers() | modifierOf(key->key())) & shortcutModifiers;
            refresh();
        } else if (key->key() == Qt::Key_Escape && !(key->modifiers() & shortcutModifiers)) {
            stopRecording();
        } else {
            record(key->key(), key->modifiers());
        }
        return true;
    }
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        m_held = key->modifiers() & ~modifierOf(key->key()) & shortcutModifiers;
        refresh();
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void ShortcutRecorder::hideEvent(QHideEvent* event) {
    if (isRecording())
        stopRecording();
    QWidget::hideEvent(event);
}

void ShortcutRecorder::startRecording() {
    m_problemText.reset();
    m_held = {};
    m_hotKeys.setRecording(m_action);
    m_button->setFocus();
    m_button->grabKeyboard();
    refresh();
}

void ShortcutRecorder::stopRecording() {
    m_button->releaseKeyboard();
    m_held = {};
    m_hotKeys.setRecording(std::nullopt);
    refresh();
}

void ShortcutRecorder::record(int key, Qt::KeyboardModifiers modifiers) {
    const auto shortcut = Shortcut::fromKeyEvent(key, modifiers);
    if (!shortcut) {
        m_problemText = problemText(shortcut.error());
        refresh();
        return;
    }
    stopRecording();
    m_problemText = m_hotKeys.set(*shortcut, m_action);
    refresh();
}

void ShortcutRecorder::clear() {
    m_problemText = m_hotKeys.set(std::nullopt, m_action);
    refresh();
}

void ShortcutRecorder::refresh() {
    const bool recording = isRecording();
    const std::optional<Shortcut> shortcut = m_hotKeys.shortcut(m_action);
    const QString text = recording ? modifiersText(m_held) : shortcut ? shortcut->displayText() : QString();
    m_button->setText(text.isEmpty() ? tr("Record Shortcut") : text);
    m_button->setChecked(recording);
    m_clear->setVisible(shortcut.has_value());
    const std::optional<QString> problem = m_problemText ? m_problemText
                                           : recording   ? std::nullopt
                                                         : m_hotKeys.refusal(m_action);
    m_problem->setText(problem.value_or(QString()));
    m_problem->setVisible(problem.has_value());
}

} // namespace Dovrin::Shell
