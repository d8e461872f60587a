#pragma once

#include <QColor>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace Dovrin::Stickies {

// A monochrome SVG resource rendered at `size` logical pixels for the device pixel ratio, in one colour;
// nothing (and a log line) when it cannot be read.
QPixmap tintedSvg(const QString& resourcePath, QSize size, const QColor& color, qreal devicePixelRatio);

} // namespace Dovrin::Stickies
