#include "app/shell/TrashGlyph.h"

#include "app/stickies/TintedSvg.h"

#include <QPainter>

using namespace Qt::StringLiterals;

// Resources of a static library are linked in only when something names their initialiser.
static void initShellIcons() {
    Q_INIT_RESOURCE(ShellIcons);
}

namespace Dovrin::Shell {

TrashGlyph::TrashGlyph(int size, QWidget* parent) : QWidget(parent) {
    static const bool initialised = (initShellIcons(), true);
    Q_UNUSED(initialised);
    setFixedSize(size, size);
}

void TrashGlyph::paintEvent(QPaintEvent*) {
    // Drawn afresh each time, so a new palette or a screen of another density shows at once.
    QPainter(this).drawPixmap(0, 0,
                              Stickies::tintedSvg(u":/shell/icons/trash.svg"_s, size(),
                                                  palette().color(QPalette::PlaceholderText),
                                                  devicePixelRatioF()));
}

} // namespace Dovrin::Shell
