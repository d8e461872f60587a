#include "app/shell/SettingsWindow.h"

#include "app/shell/AISettings.h"
#include "app/shell/AboutSettings.h"
#include "app/shell/GeneralSettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

constexpr int windowWidth = 580;

// A tab taller than the screen scrolls instead of pushing the window off it.
QScrollArea* scrolling(QWidget* tab) {
    auto* area = new QScrollArea;
    area->setWidget(tab);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return area;
}

} // namespace

SettingsWindow::SettingsWindow(HotKeys& hotKeys, Agent::AgentActivity& activity, Actions actions,
                               QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      m_tabs(new QTabWidget(this)), m_general(new GeneralSettings(hotKeys, std::move(actions.relaunch))),
      m_ai(new AISettings(activity, std::move(actions.openSetupGuide))) {
    setWindowTitle(tr("Settings"));
    m_tabs->setDocumentMode(true);
    m_tabs->setIconSize({16, 16});
    m_tabs->addTab(scrolling(m_general), settingsTabIcon(SettingsTab::general, palette()),
                   tr("General", "Settings tab"));
    m_tabs->addTab(scrolling(m_ai), settingsTabIcon(SettingsTab::ai, palette()), tr("AI", "Settings tab"));
    auto* about = new AboutSettings(std::move(actions.showWelcomeNote));
    m_tabs->addTab(scrolling(about), settingsTabIcon(SettingsTab::about, palette()),
                   tr("About", "Settings tab"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->addWidget(m_tabs);
    connect(m_general, &GeneralSettings::showInDockChanged, this, &SettingsWindow::showInDockChanged);

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    int tallest = 0;
    for (const QWidget* tab :
         {static_cast<QWidget*>(m_general), static_cast<QWidget*>(m_ai), static_cast<QWidget*>(about)})
        tallest = std::max(tallest, tab->heightForWidth(windowWidth) > 0 ? tab->heightForWidth(windowWidth)
                                                                         : tab->sizeHint().height());
    const int wanted = tallest + m_tabs->tabBar()->sizeHint().height() + 24;
    resize(windowWidth, std::min(wanted, available.height() * 9 / 10));
    QRect frame(QPoint(), size());
    frame.moveCenter(available.center());
    move(frame.topLeft());
}

void SettingsWindow::showWindow(std::optional<SettingsTab> tab) {
    m_general->readStoredValues();
    m_ai->readStoredValues();
    if (tab)
        m_tabs->setCurrentIndex(int(*tab));
    show();
    raise();
    activateWindow();
}

} // namespace Dovrin::Shell
