#include "app/core/ScreenSpace.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace Dovrin::Core::ScreenSpace {

QRectF fromQt(const QRectF& rect, const QRectF& primary) {
    return QRectF(rect.x() - primary.x(), primary.bottom() - rect.bottom(), rect.width(), rect.height());
}

QRectF toQt(const QRectF& rect, const QRectF& primary) {
    return QRectF(rect.x() + primary.x(), primary.bottom() - rect.y() - rect.height(), rect.width(),
                  rect.height());
}

QRectF primaryGeometry() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? QRectF(primary->geometry()) : QRectF();
}

QRect toWindow(const QRectF& frame) {
    return toQt(frame, primaryGeometry()).toRect();
}

QRectF fromWindow(const QRect& windowFrame) {
    return fromQt(QRectF(windowFrame), primaryGeometry());
}

QPointF fromQtPoint(const QPointF& point) {
    return fromQt(QRectF(point, QSizeF(0, 0)), primaryGeometry()).topLeft();
}

QRectF frame(const QScreen& screen) {
    return fromQt(QRectF(screen.geometry()), primaryGeometry());
}

QRectF visibleFrame(const QScreen& screen) {
    return fromQt(QRectF(screen.availableGeometry()), primaryGeometry());
}

QList<ScreenFrames> screens() {
    QList<ScreenFrames> frames;
    const QScreen* main = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const ScreenFrames entry{frame(*screen), visibleFrame(*screen)};
        if (screen == main)
            frames.prepend(entry);
        else
            frames.append(entry);
    }
    return frames;
}

QList<QRectF> visibleFrames() {
    QList<QRectF> frames;
    for (const ScreenFrames& screen : screens())
        frames.append(screen.visibleFrame);
    return frames;
}

QScreen* screenContaining(const QPointF& point) {
    for (QScreen* screen : QGuiApplication::screens())
        if (frame(*screen).contains(point))
            return screen;
    return QGuiApplication::primaryScreen();
}

QScreen* screenIntersecting(const QRectF& rect) {
    for (QScreen* screen : QGuiApplication::screens())
        if (frame(*screen).intersects(rect))
            return screen;
    return nullptr;
}

QPointF mouseLocation() {
    return fromQtPoint(QCursor::pos());
}

} // namespace Dovrin::Core::ScreenSpace
