#include "app/shell/SoftwareUpdateSection.h"

#include "app/shell/Updater.h"

#include <QCheckBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

SoftwareUpdateSection::SoftwareUpdateSection(Updater& updater, QWidget* parent)
    : QGroupBox(tr("Software Update"), parent), m_updater(updater),
      m_checks(new QCheckBox(tr("Automatically check for updates"), this)),
      m_downloads(new QCheckBox(tr("Automatically download and install"), this)) {
    m_checks->setObjectName(u"automaticallyChecks"_s);
    m_downloads->setObjectName(u"automaticallyDownloads"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_checks);
    layout->addWidget(m_downloads);
    // A build without an update feed has nothing to set here.
    setVisible(m_updater.isEnabled());
    refresh();
    connect(m_checks, &QCheckBox::toggled, &m_updater, &Updater::setAutomaticallyChecksForUpdates);
    connect(m_downloads, &QCheckBox::toggled, &m_updater, &Updater::setAutomaticallyDownloadsUpdates);
    connect(&m_updater, &Updater::preferencesChanged, this, &SoftwareUpdateSection::refresh);
}

void SoftwareUpdateSection::refresh() {
    const QSignalBlocker quietChecks(m_checks);
    const QSignalBlocker quietDownloads(m_downloads);
    m_checks->setChecked(m_updater.automaticallyChecksForUpdates());
    m_downloads->setChecked(m_updater.automaticallyDownloadsUpdates());
    m_downloads->setEnabled(m_checks->isChecked());
}

} // namespace Dovrin::Shell
