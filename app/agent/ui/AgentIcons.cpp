#include "app/agent/ui/AgentIcons.h"

#include <QPainter>
#include <QPixmap>

using namespace Qt::StringLiterals;

// Outside any namespace: the macro declares the resource's registration function where it is used.
static void registerResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(AgentIcons);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace Dovrin::Agent::AgentIcons {

namespace {

QIcon load(const QString& name) {
    registerResources();
    return QIcon(u":/agent/icons/%1.svg"_s.arg(name));
}

QIcon tinted(const QString& name, const QColor& color) {
    // Drawn large once and scaled down by the views, so the symbol stays sharp on any screen.
    QPixmap pixmap = load(name).pixmap(64, 64);
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), color);
    painter.end();
    return QIcon(pixmap);
}

} // namespace

QIcon normal() {
    return load(u"menubar"_s);
}

QIcon active() {
    return load(u"menubar-ai"_s);
}

QIcon sparkle(const QColor& color) {
    return tinted(u"sparkle"_s, color);
}

QIcon xmark(const QColor& color) {
    return tinted(u"xmark"_s, color);
}

} // namespace Dovrin::Agent::AgentIcons
