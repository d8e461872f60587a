#pragma once

#include <QGroupBox>

class QCheckBox;

namespace Dovrin::Shell {

class Updater;

// The settings' "Software Update" section: the updater's two preferences as toggles. They start from the
// updater's values and write through at once; downloading on its own needs checking on its own, so the
// second toggle is off limits while the first is off.
class SoftwareUpdateSection final : public QGroupBox {
    Q_OBJECT
    Q_DISABLE_COPY(SoftwareUpdateSection)

public:
    explicit SoftwareUpdateSection(Updater& updater, QWidget* parent = nullptr);

private:
    void refresh();

    Updater& m_updater;
    QCheckBox* m_checks;
    QCheckBox* m_downloads;
};

} // namespace Dovrin::Shell
