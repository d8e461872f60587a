#pragma once

#include <QDir>
#include <QMap>
#include <QPalette>
#include <QString>

#include <functional>

class QWidget;

// What every window preview shares: a registry of previews by name, the dark palette a dark desktop gives,
// and saving a capture of a window.
namespace Dovrin::Preview {

// Writes its captures into the folder; false when one could not be made.
using Function = std::function<bool(const QDir& folder)>;

// Registers a preview under `name` (e.g. "recently-deleted") at static initialisation.
struct Registration {
    Registration(const QString& name, Function preview);
};

const QMap<QString, Function>& all();

// Runs the event loop for `ms`, so that the windows lay themselves out and paint.
void wait(int ms);

// The desktop's dark theme, as a dark GTK or Plasma palette gives it.
QPalette darkPalette();

// Saves a capture of the window (frame excluded) as `name` in `folder`, and says so on standard output.
bool capture(QWidget& window, const QDir& folder, const QString& name);

// Shows the window (`show` brings it up) in the light palette, then the dark one, with the pointer away from
// it, and saves `<name>.png` and `<name>-dark.png`.
bool captureLightAndDark(QWidget& window, const std::function<void()>& show, const QDir& folder,
                         const QString& name);

} // namespace Dovrin::Preview
