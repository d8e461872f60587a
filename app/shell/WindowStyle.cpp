#include "app/shell/WindowStyle.h"

#include <QLabel>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

QLabel* secondaryLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QString thinScrollBarStyle(const QPalette& palette) {
    const QColor text = palette.color(QPalette::WindowText);
    const auto rgba = [&text](float alpha) {
        return u"rgba(%1, %2, %3, %4)"_s.arg(text.red()).arg(text.green()).arg(text.blue()).arg(alpha);
    };
    return uR"(QScrollBar:vertical { background: transparent; width: 12px; margin: 4px 3px 4px 0; }
QScrollBar::handle:vertical { background: %1; border-radius: 3px; min-height: 32px; margin: 0 0 0 3px; }
QScrollBar::handle:vertical:hover, QScrollBar::handle:vertical:pressed { background: %2; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }
QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; })"_s.arg(rgba(0.22f),
                                                                                                  rgba(0.4f));
}

} // namespace Dovrin::Shell
