#include "app/shell/AboutSettings.h"

#include "app/shell/SettingsResources.h"
#include "app/shell/SettingsSection.h"
#include "generated/Version.h"
#include "shared/bridge/DataDirectory.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

QLabel* selectableLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

AboutSettings::AboutSettings(std::function<void()> showWelcomeNote, QWidget* parent) : QWidget(parent) {
    auto* about = new SettingsSection(QString(), this);
    about->addRow(tr("Version"), selectableLabel(versionText()));
    auto* welcome = new QPushButton(tr("Show Welcome Note"));
    about->addRow(tr("Welcome note"), welcome);
    const std::optional<QString> folder = Bridge::dataDirectory();
    QLabel* location = selectableLabel(folder ? QDir::toNativeSeparators(*folder) : tr("Unavailable"));
    location->setWordWrap(true);
    about->addRow(tr("Notes folder"), location);
    about->addFooter(tr("Copyright © 2026 The Dovrin developers."));

    auto* acknowledgements = new SettingsSection(tr("Acknowledgements"), this);
    auto* text = new QTextBrowser;
    text->setObjectName(u"acknowledgements"_s);
    text->setFrameShape(QFrame::NoFrame);
    text->setOpenExternalLinks(true);
    text->setHtml(acknowledgementsText());
    // The card draws the background.
    text->viewport()->setAutoFillBackground(false);
    text->setMinimumHeight(200);
    acknowledgements->addWidget(text);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(18);
    layout->addWidget(about);
    layout->addWidget(acknowledgements, 1);
    connect(welcome, &QPushButton::clicked, this, [showWelcomeNote] { showWelcomeNote(); });
}

QString AboutSettings::versionText() {
    return u"%1 (%2)"_s.arg(QLatin1StringView(DOVRIN_VERSION), QLatin1StringView(DOVRIN_BUILD_NUMBER));
}

} // namespace Dovrin::Shell
