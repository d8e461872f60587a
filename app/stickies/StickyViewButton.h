#pragma once

#include "app/stickies/StickyViewIcons.h"

#include <QAbstractButton>

namespace Dovrin::Stickies {

// A hover control of the sticky: a tinted glyph centred in a 24 × 22 frame, optionally followed by a
// short text. The accessible name is the button's text even when the text is not drawn.
class StickyViewButton final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY(StickyViewButton)

public:
    explicit StickyViewButton(StickyGlyph glyph, QWidget* parent = nullptr);

    void setGlyph(StickyGlyph glyph);
    void setTint(const QColor& tint, const QColor& highlight);
    // Whether the text is drawn beside the glyph.
    void setTextShown(bool shown);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QFont textFont() const;

    StickyGlyph m_glyph;
    QColor m_tint = Qt::black;
    QColor m_highlight = Qt::transparent;
    bool m_textShown = false;
    bool m_underMouse = false;
};

} // namespace Dovrin::Stickies
