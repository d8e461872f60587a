#pragma once

#include <QColor>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace Dovrin::Stickies {

// The symbols of the slash menu and the format bar, shipped as monochrome SVG under the names the
// command tables use ("checklist", "link", …) and tinted when drawn. An unknown name draws nothing.
QPixmap popoverSymbol(const QString& name, QSize size, const QColor& color, qreal devicePixelRatio);

} // namespace Dovrin::Stickies
