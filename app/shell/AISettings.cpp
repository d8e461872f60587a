#include "app/shell/AISettings.h"

#include "app/agent/AgentActivity.h"
#include "app/core/Log.h"
#include "app/shell/ConnectedAIs.h"
#include "app/shell/SettingsSection.h"
#include "app/shell/WindowStyle.h"
#include "shared/bridge/SharedSettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

struct AccessChoice {
    Bridge::AIAccess access;
    QString label;
    QString description;
};

QList<AccessChoice> accessChoices() {
    return {
        {Bridge::AIAccess::off, AISettings::tr("Off"),
         AISettings::tr("Your AI can’t see or change your notes.")},
        {Bridge::AIAccess::readOnly, AISettings::tr("Read only"),
         AISettings::tr("Your AI can read notes but can’t change them.")},
        {Bridge::AIAccess::readWrite, AISettings::tr("Read & write"),
         AISettings::tr("Your AI can read, edit, create and delete notes. You can undo every change.")},
    };
}

// A radio button with its description under it, indented to the button's text.
QWidget* accessRow(const AccessChoice& choice, QButtonGroup* group, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->setSpacing(1);
    // A button reads "&" as the mark of its shortcut letter.
    auto* button = new QRadioButton(QString(choice.label).replace(u'&', u"&&"_s), row);
    button->setAccessibleDescription(choice.description);
    group->addButton(button, int(choice.access));
    QLabel* description = secondaryLabel(choice.description, row);
    description->setContentsMargins(26, 0, 0, 0);
    layout->addWidget(button);
    layout->addWidget(description);
    return row;
}

void storeLetAIOpenDovrin(bool allowed) {
    Bridge::SharedSettings settings = Bridge::SharedSettings::read();
    settings.letAIOpenDovrin = allowed;
    if (const auto written = settings.write(); !written)
        qCWarning(Core::shellLog, "settings: %s", qUtf8Printable(written.error()));
}

} // namespace

AISettings::AISettings(Agent::AgentActivity& activity, std::function<void()> openSetupGuide, QWidget* parent)
    : QWidget(parent), m_activity(activity), m_access(new QButtonGroup(this)),
      m_letAIOpenDovrin(new QCheckBox), m_connected(new ConnectedAIs(activity, openSetupGuide)) {
    m_letAIOpenDovrin->setObjectName(u"letAIOpenDovrin"_s);

    auto* access = new SettingsSection(tr("AI access"), this);
    auto* choices = new QWidget;
    auto* choiceList = new QVBoxLayout(choices);
    choiceList->setContentsMargins(0, 0, 0, 0);
    choiceList->setSpacing(6);
    for (const AccessChoice& choice : accessChoices())
        choiceList->addWidget(accessRow(choice, m_access, choices));
    access->addWidget(choices);
    access->addRow(tr("Let AI open Dovrin"), m_letAIOpenDovrin,
                   tr("When Dovrin isn’t running, your AI can start it in the background."));
    access->addFooter(tr("Your notes stay on this computer. When your AI reads a note, it’s sent to that AI "
                         "just like anything you type into it."));

    auto* connect = new SettingsSection(tr("Connect your AI"), this);
    auto* guide = new QPushButton(tr("Open Setup Guide"));
    connect->addRow(
        tr("Let Claude, ChatGPT and others read your stickies, check things off and add new ones."), guide);

    auto* connected = new SettingsSection(tr("Connected AIs"), this);
    connected->addWidget(m_connected);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(18);
    for (QWidget* section : {access, connect, connected})
        layout->addWidget(section);
    layout->addStretch();

    readStoredValues();
    QObject::connect(guide, &QPushButton::clicked, this, [openSetupGuide] { openSetupGuide(); });
    QObject::connect(m_access, &QButtonGroup::idClicked, this,
                     [this](int id) { m_activity.setAccess(Bridge::AIAccess(id)); });
    // With access off the connected AIs read as paused.
    QObject::connect(&m_activity, &Agent::AgentActivity::accessChanged, this, [this] {
        showAccess();
        m_connected->refresh();
    });
    QObject::connect(m_letAIOpenDovrin, &QCheckBox::toggled, this, &storeLetAIOpenDovrin);
}

void AISettings::readStoredValues() {
    showAccess();
    const QSignalBlocker quiet(m_letAIOpenDovrin);
    m_letAIOpenDovrin->setChecked(Bridge::SharedSettings::read().letAIOpenDovrin);
}

void AISettings::showAccess() {
    m_access->button(int(m_activity.access()))->setChecked(true);
}

} // namespace Dovrin::Shell
