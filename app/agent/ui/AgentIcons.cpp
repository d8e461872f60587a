#include "AgentIcons.h"

#include <QPainter>
#include <QPixmap>

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
    return QIcon(QStringLiteral(":/agent/icons/%1.svg").arg(name));
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
    return load(QStringLiteral("menubar"));
}

QIcon active() {
    return load(QStringLiteral("menubar-ai"));
}

QIcon sparkle(const QColor& color) {
    return tinted(QStringLiteral("sparkle"), color);
}

QIcon xmark(const QColor& color) {
    return tinted(QStringLiteral("xmark"), color);
}

} // namespace Dovrin::Agent::AgentIcons
