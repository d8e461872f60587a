#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTextBrowser;

namespace Dovrin::Shell {

class Updater;

// The "Software Update" window: one face per stage of the updater's session (checking, up to date, a new
// version with its release notes, downloading, ready to install, installing, an error). It comes forward
// whenever the updater asks for it and hides when the session ends. Closing it (Esc, the title bar) is
// "Remind Me Later" while an update is on offer, stops a check or download under way, and is refused while
// the package installs.
class UpdateWindow final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY(UpdateWindow)

public:
    explicit UpdateWindow(Updater& updater, QWidget* parent = nullptr);

    void reject() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void present();
    void refresh();
    void showProgress(qint64 received, qint64 total);
    void showReleaseNotes();
    void showInFolder();
    void styleNotes();
    void fitToContents(bool withNotes);

    Updater& m_updater;
    QLabel* m_heading;
    QLabel* m_message;
    QLabel* m_notesHeading;
    QTextBrowser* m_notes;
    QLabel* m_notesLink;
    QWidget* m_progressBox;
    QProgressBar* m_progress;
    QLabel* m_progressText;
    QPushButton* m_skip;
    QPushButton* m_remindLater;
    QPushButton* m_install;
    QPushButton* m_showInFolder;
    QPushButton* m_close;
};

} // namespace Dovrin::Shell
