#pragma once

#include "app/stickies/Geometry.h"

#include <QPoint>
#include <QWidget>

namespace Dovrin::Stickies {

class StickyViewButton;
class StickyViewProvenanceLabel;
class StickyViewState;

// The title strip at the top of a sticky: it moves the window, collapses it on a double click and
// asks for the sticky menu; it carries the hover controls, the ✦ label and, when collapsed, the title.
class StickyViewDragStrip final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(StickyViewDragStrip)

public:
    static constexpr int stripHeight = int(Geometry::titleStripHeight);

    explicit StickyViewDragStrip(StickyViewState* state, QWidget* parent = nullptr);

    // Re-reads the state and the colours of the current appearance.
    void refresh();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void layoutChildren();

    enum class Drag { none, pressed, system, manual };

    StickyViewState* m_state;
    StickyViewButton* m_close;
    StickyViewButton* m_newSticky;
    StickyViewButton* m_copyLink;
    StickyViewProvenanceLabel* m_provenance;
    Drag m_drag = Drag::none;
    QPoint m_pressGlobal;
    QPoint m_windowAtPress;
};

} // namespace Dovrin::Stickies
