#pragma once

#include <QPalette>
#include <QString>

class QLabel;
class QWidget;

// What the app's windows share in their look.
namespace Dovrin::Shell {

// Text in the secondary style, wrapped.
QLabel* secondaryLabel(const QString& text, QWidget* parent);

// A style sheet for a thin vertical scroll bar without arrows, its handle a faint text colour; set again when
// the palette changes.
QString thinScrollBarStyle(const QPalette& palette);

} // namespace Dovrin::Shell
