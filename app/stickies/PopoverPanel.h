#pragma once

#include "app/stickies/PopoverColors.h"

#include <QRectF>
#include <QWidget>

namespace Dovrin::Stickies {

// A frameless window beside a sticky that hosts one overlay view and draws its rounded background; a child
// of the sticky's window. A passive panel never takes the keyboard: clicks work without activating it and
// typing stays in the editor. A focus-taking panel is a popup instead, which closes when the user clicks
// elsewhere.
class PopoverPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(PopoverPanel)

public:
    enum class Focus { never, takes };

    static constexpr int cornerRadius = 10;

    PopoverPanel(QWidget* host, Focus focus, QWidget* sticky);

    QWidget* host() const { return m_host; }
    void setColors(const PopoverColors& colors);

    // The size the hosted view asks for, with the panel's padding.
    QSizeF fittingSize();
    // Shows the panel at a frame in y-up screen coordinates, above the sticky.
    void present(const QRectF& frame);
    // Hides it, if shown.
    void dismiss();

signals:
    void mouseEntered();
    void mouseLeft();
    // The panel was hidden, by the app or (for a popup) by a click elsewhere.
    void dismissed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* m_host;
    PopoverColors m_colors;
};

} // namespace Dovrin::Stickies
