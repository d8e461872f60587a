#include "app/stickies/StickyAnimations.h"

#include "app/stickies/StickyController.h"
#include "app/stickies/StickyPanel.h"

#include <QEasingCurve>
#include <QPropertyAnimation>

namespace Dovrin::Stickies::StickyAnimations {

namespace {

constexpr int openFadeMs = 150;
constexpr int closeFadeMs = 180;
constexpr int revealMs = 400;
constexpr int reducedRevealMs = 200;

// Fast at first, settling gently.
QEasingCurve revealCurve() {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.2, 0.9), QPointF(0.25, 1.0), QPointF(1, 1));
    return curve;
}

QPropertyAnimation* propertyAnimation(QWidget* target, const QByteArray& property, const QVariant& from,
                                      const QVariant& to, int ms) {
    auto* animation = new QPropertyAnimation(target, property, target);
    animation->setDuration(ms);
    animation->setStartValue(from);
    animation->setEndValue(to);
    return animation;
}

} // namespace

void fadeIn(StickyPanel& panel) {
    panel.setWindowOpacity(0);
    propertyAnimation(&panel, "windowOpacity", 0.0, 1.0, openFadeMs)
        ->start(QAbstractAnimation::DeleteWhenStopped);
}

void fadeOut(StickyPanel& panel, QObject& going) {
    QPropertyAnimation* out =
        propertyAnimation(&panel, "windowOpacity", panel.windowOpacity(), 0.0, closeFadeMs);
    QObject::connect(out, &QAbstractAnimation::finished, &going, &QObject::deleteLater);
    out->start(QAbstractAnimation::DeleteWhenStopped);
}

void reveal(StickyController& sticky, bool reduced) {
    StickyPanel* panel = sticky.panel();
    panel->setWindowOpacity(0);
    QPropertyAnimation* fade =
        propertyAnimation(panel, "windowOpacity", 0.0, 1.0, reduced ? reducedRevealMs : revealMs);
    fade->setEasingCurve(revealCurve());
    fade->start(QAbstractAnimation::DeleteWhenStopped);
    if (reduced)
        return;
    const QRect full = panel->geometry();
    const int dx = qRound(full.width() * 0.03 / 2);
    const int dy = qRound(full.height() * 0.03 / 2);
    QPropertyAnimation* grow =
        propertyAnimation(panel, "geometry", full.adjusted(dx, dy, -dx, -dy), full, revealMs);
    grow->setEasingCurve(revealCurve());
    sticky.setPlacing(true);
    QObject::connect(grow, &QAbstractAnimation::finished, &sticky, [&sticky] { sticky.setPlacing(false); });
    grow->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace Dovrin::Stickies::StickyAnimations
