#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

namespace Dovrin::Stickies {

class StickyViewDragStrip;
class StickyViewState;

// The content of a sticky window: the note's rounded shape in its colour, the strip on top and the
// editor below it. It tracks the mouse for the hover controls and resizes the window from its edges.
class StickyView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(StickyView)

public:
    static constexpr qreal cornerRadius = 16;
    static constexpr qreal borderWidth = 0.5;

    explicit StickyView(StickyViewState* state, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void refresh();
    void layoutChildren();
    void showWebView(QWidget* previous);
    Qt::Edges edgesAt(QPoint position) const;

    StickyViewState* m_state;
    StickyViewDragStrip* m_strip;
    // Where the editor sits.
    QWidget* m_editorHost;
    Qt::Edges m_resizing;
    QPoint m_pressGlobal;
    QRect m_geometryAtPress;
};

} // namespace Dovrin::Stickies
