#include "app/stickies/ScreenChanges.h"

#include <QGuiApplication>
#include <QScreen>

namespace Dovrin::Stickies {

ScreenChanges::ScreenChanges(QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &ScreenChanges::settled);
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(screen);
        m_timer.start();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, &m_timer, qOverload<>(&QTimer::start));
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, &m_timer, qOverload<>(&QTimer::start));
}

void ScreenChanges::watch(QScreen* screen) {
    connect(screen, &QScreen::availableGeometryChanged, &m_timer, qOverload<>(&QTimer::start));
    connect(screen, &QScreen::geometryChanged, &m_timer, qOverload<>(&QTimer::start));
}

} // namespace Dovrin::Stickies
