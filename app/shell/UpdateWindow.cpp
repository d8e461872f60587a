#include "app/shell/UpdateWindow.h"

#include "app/shell/AppIcon.h"
#include "app/shell/Updater.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

constexpr int iconSize = 64;
// The window with release notes to read; without them it is an alert's width, as tall as its text.
constexpr QSize notesSize(660, 440);
constexpr int compactWidth = 520;

QLabel* wrappingLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QFont scaled(QFont font, qreal factor, QFont::Weight weight) {
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setWeight(weight);
    return font;
}

} // namespace

UpdateWindow::UpdateWindow(Updater& updater, QWidget* parent)
    : QDialog(parent), m_updater(updater), m_heading(wrappingLabel(this)), m_message(wrappingLabel(this)),
      m_notesHeading(new QLabel(tr("Release notes"), this)), m_notes(new QTextBrowser(this)),
      m_notesLink(new QLabel(this)), m_progressBox(new QWidget(this)),
      m_progress(new QProgressBar(m_progressBox)), m_progressText(new QLabel(m_progressBox)),
      m_skip(new QPushButton(tr("Skip This Version"), this)),
      m_remindLater(new QPushButton(tr("Remind Me Later"), this)),
      m_install(new QPushButton(tr("Install Update"), this)),
      m_showInFolder(new QPushButton(tr("Show in Folder"), this)), m_close(new QPushButton(this)) {
    setWindowTitle(tr("Software Update"));
    setObjectName(u"softwareUpdate"_s);
    m_heading->setFont(scaled(font(), 1.3, QFont::Bold));
    m_notesHeading->setFont(scaled(font(), 0.92, QFont::DemiBold));
    m_notes->setOpenExternalLinks(true);
    m_notes->setFrameShape(QFrame::NoFrame);
    m_notes->document()->setDocumentMargin(11);
    // Feeds write their notes as plain HTML: headings a step above the text, lists indented by a bullet's
    // width rather than a browser's deep default.
    m_notes->document()->setIndentWidth(18);
    m_notes->document()->setDefaultStyleSheet(
        u"h1, h2, h3 { font-size: medium; margin-top: 10px; margin-bottom: 4px; }"
        "ul, ol { margin-top: 0px; margin-bottom: 6px; }"
        "li { margin-bottom: 3px; }"_s);
    m_notesLink->setTextFormat(Qt::RichText);
    m_notesLink->setOpenExternalLinks(true);
    m_progress->setTextVisible(false);
    m_progressText->setForegroundRole(QPalette::PlaceholderText);

    auto* icon = new QLabel(this);
    icon->setPixmap(appIcon().pixmap(QSize(iconSize, iconSize), devicePixelRatioF()));
    icon->setFixedSize(iconSize, iconSize);
    icon->setAlignment(Qt::AlignTop);

    // The space above each part goes with it when the part is hidden.
    m_message->setContentsMargins(0, 6, 0, 0);
    m_notesHeading->setContentsMargins(0, 16, 0, 6);
    m_notesLink->setContentsMargins(0, 12, 0, 0);
    auto* progress = new QVBoxLayout(m_progressBox);
    progress->setContentsMargins(0, 16, 0, 0);
    progress->setSpacing(6);
    progress->addWidget(m_progress);
    progress->addWidget(m_progressText);

    auto* text = new QVBoxLayout;
    text->setSpacing(0);
    text->addWidget(m_heading);
    text->addWidget(m_message);
    text->addWidget(m_notesHeading);
    text->addWidget(m_notes, 1);
    text->addWidget(m_notesLink);
    text->addWidget(m_progressBox);
    text->addStretch(0);

    auto* top = new QHBoxLayout;
    top->setSpacing(20);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(text, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(m_skip);
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    buttons->addWidget(m_remindLater);
    buttons->addWidget(m_showInFolder);
    buttons->addWidget(m_install);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 20);
    layout->setSpacing(20);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    styleNotes();

    connect(m_install, &QPushButton::clicked, &m_updater, &Updater::installUpdate);
    connect(m_skip, &QPushButton::clicked, &m_updater, &Updater::skipThisVersion);
    connect(m_remindLater, &QPushButton::clicked, &m_updater, &Updater::remindMeLater);
    connect(m_close, &QPushButton::clicked, &m_updater, &Updater::dismiss);
    connect(m_showInFolder, &QPushButton::clicked, this, &UpdateWindow::showInFolder);
    connect(&m_updater, &Updater::windowRequested, this, &UpdateWindow::present);
    connect(&m_updater, &Updater::stageChanged, this, &UpdateWindow::refresh);
    connect(&m_updater, &Updater::downloadProgress, this, &UpdateWindow::showProgress);
    refresh();
}

void UpdateWindow::present() {
    refresh();
    show();
    raise();
    activateWindow();
}

void UpdateWindow::refresh() {
    const UpdateStage stage = m_updater.stage();
    const std::optional<AppcastItem>& update = m_updater.update();
    const QString offered = update ? update->displayVersion : QString();
    const QString running = m_updater.runningDisplayVersion();
    const bool offering = update && (stage == UpdateStage::available || stage == UpdateStage::readyToInstall);
    const bool working = stage == UpdateStage::checking || stage == UpdateStage::downloading ||
                         stage == UpdateStage::installing;

    switch (stage) {
    case UpdateStage::idle:
        hide();
        return;
    case UpdateStage::checking:
        m_heading->setText(tr("Checking for updates…"));
        m_message->clear();
        break;
    case UpdateStage::upToDate:
        m_heading->setText(tr("You’re up to date!"));
        m_message->setText(tr("Dovrin %1 is currently the newest version available.").arg(running));
        break;
    case UpdateStage::available:
        m_heading->setText(tr("A new version of Dovrin is available!"));
        m_message->setText(tr("Dovrin %1 is now available—you have %2. Would you like to download it now?")
                               .arg(offered, running));
        break;
    case UpdateStage::downloading:
        m_heading->setText(tr("Downloading Dovrin %1…").arg(offered));
        m_message->clear();
        break;
    case UpdateStage::readyToInstall:
        m_heading->setText(tr("Ready to install"));
        m_message->setText(m_updater.canInstall()
                               ? tr("Dovrin %1 is downloaded and verified—you have %2. Install it now?")
                                     .arg(offered, running)
                               : tr("Dovrin %1 is downloaded and verified. This copy of Dovrin doesn’t run "
                                    "from its installed package, so the package waits in its folder for you.")
                                     .arg(offered));
        break;
    case UpdateStage::installing:
        m_heading->setText(tr("Installing Dovrin %1…").arg(offered));
        m_message->setText(tr("Enter your password when the desktop asks for it."));
        break;
    case UpdateStage::failed:
        m_heading->setText(tr("Update Error!"));
        m_message->setText(m_updater.errorMessage());
        break;
    }
    m_message->setVisible(!m_message->text().isEmpty());
    if (offering)
        showReleaseNotes();
    else {
        m_notesHeading->hide();
        m_notes->hide();
        m_notesLink->hide();
    }

    m_progressBox->setVisible(working);
    m_progressText->setVisible(stage == UpdateStage::downloading);
    if (stage == UpdateStage::downloading)
        showProgress(m_updater.bytesReceived(), update->length);
    else
        m_progress->setRange(0, 0);

    const bool installable = m_updater.canInstall();
    m_skip->setVisible(offering);
    m_remindLater->setVisible(offering);
    m_install->setVisible(offering && (stage == UpdateStage::available || installable));
    m_showInFolder->setVisible(stage == UpdateStage::readyToInstall && !installable);
    m_close->setVisible(!offering && stage != UpdateStage::installing);
    m_close->setText(working ? tr("Cancel") : tr("OK"));
    QPushButton* preferred = m_install->isVisibleTo(this)        ? m_install
                             : m_showInFolder->isVisibleTo(this) ? m_showInFolder
                                                                 : m_close;
    for (QPushButton* button : {m_skip, m_remindLater, m_install, m_showInFolder, m_close})
        button->setDefault(button == preferred);
    preferred->setFocus();
    fitToContents(offering && m_notes->isVisibleTo(this));
}

void UpdateWindow::fitToContents(bool withNotes) {
    if (withNotes) {
        setMinimumSize(notesSize.width() - 80, notesSize.height() - 100);
        resize(isVisible() ? size().expandedTo(notesSize) : notesSize);
        return;
    }
    setMinimumSize(0, 0);
    layout()->activate();
    resize(compactWidth, layout()->totalHeightForWidth(compactWidth));
}

void UpdateWindow::showProgress(qint64 received, qint64 total) {
    const QLocale locale;
    if (total > 0) {
        // Progress bars count in int: whole kilobytes keep any package in range.
        m_progress->setRange(0, static_cast<int>(total / 1024));
        m_progress->setValue(static_cast<int>(std::min(received, total) / 1024));
        m_progressText->setText(tr("%1 of %2")
                                    .arg(locale.formattedDataSize(received, 1, QLocale::DataSizeSIFormat),
                                         locale.formattedDataSize(total, 1, QLocale::DataSizeSIFormat)));
    } else {
        m_progress->setRange(0, 0);
        m_progressText->setText(locale.formattedDataSize(received, 1, QLocale::DataSizeSIFormat));
    }
}

void UpdateWindow::showReleaseNotes() {
    const AppcastItem& update = *m_updater.update();
    const bool described = !update.descriptionHtml.isEmpty();
    m_notesHeading->setVisible(described);
    m_notes->setVisible(described);
    if (described)
        m_notes->setHtml(update.descriptionHtml);
    const bool linked = !described && update.releaseNotesLink.isValid() && !update.releaseNotesLink.isEmpty();
    m_notesLink->setVisible(linked);
    if (linked)
        m_notesLink->setText(u"<a href=\"%1\">%2</a>"_s.arg(
            update.releaseNotesLink.toString(QUrl::FullyEncoded).toHtmlEscaped(),
            m_notesHeading->text().toHtmlEscaped()));
}

void UpdateWindow::showInFolder() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(m_updater.downloadedPackage()).absolutePath()));
    m_updater.dismiss();
}

// The notes sit on the text background in a rounded card with a hairline, in the desktop's light or dark
// palette alike.
void UpdateWindow::styleNotes() {
    const QColor text = palette().color(QPalette::Text);
    m_notes->setStyleSheet(
        u"QTextBrowser { background: palette(base); color: palette(text); "
        "border: 1px solid rgba(%1, %2, %3, 0.2); border-radius: 8px; padding: 3px; }"_s.arg(text.red())
            .arg(text.green())
            .arg(text.blue()));
}

void UpdateWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange)
        styleNotes();
    QDialog::changeEvent(event);
}

void UpdateWindow::reject() {
    switch (m_updater.stage()) {
    case UpdateStage::installing:
        return;
    case UpdateStage::available:
    case UpdateStage::readyToInstall:
        m_updater.remindMeLater();
        break;
    default:
        m_updater.dismiss();
        break;
    }
    QDialog::reject();
}

} // namespace Dovrin::Shell
