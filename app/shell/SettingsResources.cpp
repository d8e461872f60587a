#include "app/shell/SettingsResources.h"

#include "app/stickies/StickyViewIcons.h"
#include "app/stickies/TintedSvg.h"

#include <QFile>
#include <QGuiApplication>

using namespace Qt::StringLiterals;

// Resources of a static library are linked in only when something names their initialiser.
static void initSettingsResources() {
    Q_INIT_RESOURCE(SettingsResources);
}

namespace Dovrin::Shell {

namespace {

void initialise() {
    static const bool initialised = (initSettingsResources(), true);
    Q_UNUSED(initialised);
}

} // namespace

QIcon settingsTabIcon(SettingsTab tab, const QPalette& palette) {
    initialise();
    constexpr QSize size(16, 16);
    const QColor color = palette.color(QPalette::WindowText);
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    switch (tab) {
    case SettingsTab::general:
        return QIcon(Stickies::tintedSvg(u":/shell/icons/settings/gearshape.svg"_s, size, color, ratio));
    case SettingsTab::ai:
        return QIcon(Stickies::tintedGlyph(Stickies::StickyGlyph::sparkle, size, color, ratio));
    case SettingsTab::about:
        return QIcon(Stickies::tintedSvg(u":/shell/icons/settings/info.circle.svg"_s, size, color, ratio));
    }
    return {};
}

QString acknowledgementsText() {
    initialise();
    QFile file(u":/shell/about/acknowledgements.html"_s);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace Dovrin::Shell
