#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QSize>

namespace Dovrin::Shell {

// How a card's shadow falls: moved down by `offset`, blurred with a Gaussian of `blur` (its standard
// deviation), at most `opacity` dark.
struct ShadowLayer {
    qreal offset = 0;
    qreal blur = 1;
    qreal opacity = 0;
};

// The shadows of a rounded card, drawn into a transparent image of `size` logical pixels: a window draws its
// own when no compositor is there to do it.
QImage cardShadow(QSize size, const QRectF& card, qreal radius, const QList<ShadowLayer>& layers,
                  qreal devicePixelRatio);

} // namespace Dovrin::Shell
