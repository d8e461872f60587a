#pragma once

#include "app/stickies/PopoverColors.h"

#include <QAbstractButton>

namespace Dovrin::Stickies {

// The buttons of the link popovers: a short text in a capsule. The prominent one (the action Return
// takes) is filled with the note's tint; the others are quiet until the mouse is over them.
class PillButton final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY(PillButton)

public:
    PillButton(const QString& text, bool prominent, QWidget* parent = nullptr);

    bool isProminent() const { return m_prominent; }
    void setColors(const PopoverColors& colors);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QFont textFont() const;

    bool m_prominent;
    bool m_underMouse = false;
    PopoverColors m_colors;
};

} // namespace Dovrin::Stickies
