#include "app/stickies/StickyView.h"

#include "app/stickies/StickyPalette.h"
#include "app/stickies/StickyViewDragStrip.h"
#include "app/stickies/StickyViewState.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

namespace {

// Room around the editor where the mouse resizes the window instead of reaching the page.
constexpr int resizeMargin = 6;

} // namespace

StickyView::StickyView(StickyViewState* state, QWidget* parent)
    : QWidget(parent), m_state(state), m_strip(new StickyViewDragStrip(state, this)),
      m_editorHost(new QWidget(this)) {
    setMouseTracking(true);
    m_editorHost->setObjectName(u"editorHost"_s);
    auto* layout = new QVBoxLayout(m_editorHost);
    layout->setContentsMargins(0, 0, 0, 0);
    connect(m_state, &StickyViewState::noteChanged, this, &StickyView::refresh);
    connect(m_state, &StickyViewState::provenanceChanged, this, &StickyView::refresh);
    connect(m_state, &StickyViewState::hoveringChanged, this, &StickyView::refresh);
    connect(m_state, &StickyViewState::showingCopiedChanged, this, &StickyView::refresh);
    connect(m_state, &StickyViewState::webViewChanged, this, &StickyView::showWebView);
    showWebView(nullptr);
    refresh();
}

void StickyView::refresh() {
    m_editorHost->setVisible(!m_state->note().isCollapsed);
    m_strip->refresh();
    update();
}

void StickyView::showWebView(QWidget* previous) {
    if (previous && previous->parentWidget() == m_editorHost) {
        m_editorHost->layout()->removeWidget(previous);
        previous->hide();
        previous->setParent(nullptr);
    }
    if (QWidget* webView = m_state->webView()) {
        m_editorHost->layout()->addWidget(webView);
        webView->show();
    }
}

void StickyView::layoutChildren() {
    m_strip->setGeometry(0, 0, width(), StickyViewDragStrip::stripHeight);
    m_editorHost->setGeometry(
        QRect(0, StickyViewDragStrip::stripHeight, width(), height() - StickyViewDragStrip::stripHeight)
            .adjusted(resizeMargin, 0, -resizeMargin, -resizeMargin));
}

void StickyView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Appearance appearance = currentAppearance();
    // The hairline sits inside the edge, so the shape is inset by half its width.
    const qreal inset = borderWidth / 2;
    const QRectF shape = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    QPainterPath path;
    path.addRoundedRect(shape, cornerRadius - inset, cornerRadius - inset);
    painter.setPen(QPen(neutralColors(appearance).border, borderWidth));
    painter.setBrush(stickyPalette(m_state->note().color, appearance).fill);
    painter.drawPath(path);
}

void StickyView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
}

void StickyView::enterEvent(QEnterEvent* event) {
    m_state->setHovering(true);
    QWidget::enterEvent(event);
}

void StickyView::leaveEvent(QEvent* event) {
    m_state->setHovering(false);
    QWidget::leaveEvent(event);
}

void StickyView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange)
        refresh();
    QWidget::changeEvent(event);
}

bool StickyView::event(QEvent* event) {
    if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::ThemeChange)
        refresh();
    return QWidget::event(event);
}

Qt::Edges StickyView::edgesAt(QPoint position) const {
    Qt::Edges edges;
    if (position.y() < StickyViewDragStrip::stripHeight)
        return edges;
    if (position.x() < resizeMargin)
        edges |= Qt::LeftEdge;
    if (position.x() >= width() - resizeMargin)
        edges |= Qt::RightEdge;
    if (position.y() >= height() - resizeMargin && !m_state->note().isCollapsed)
        edges |= Qt::BottomEdge;
    return edges;
}

void StickyView::mousePressEvent(QMouseEvent* event) {
    const Qt::Edges edges = edgesAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !edges) {
        QWidget::mousePressEvent(event);
        return;
    }
    QWindow* handle = window()->windowHandle();
    if (handle && handle->startSystemResize(edges))
        return;
    // Without the window manager's help the window follows the mouse itself.
    m_resizing = edges;
    m_pressGlobal = event->globalPosition().toPoint();
    m_geometryAtPress = window()->geometry();
}

void StickyView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_resizing) {
        const Qt::Edges edges = edgesAt(event->position().toPoint());
        if (edges == (Qt::LeftEdge | Qt::BottomEdge))
            setCursor(Qt::SizeBDiagCursor);
        else if (edges == (Qt::RightEdge | Qt::BottomEdge))
            setCursor(Qt::SizeFDiagCursor);
        else if (edges & Qt::BottomEdge)
            setCursor(Qt::SizeVerCursor);
        else if (edges)
            setCursor(Qt::SizeHorCursor);
        else
            unsetCursor();
        return;
    }
    const QPoint delta = event->globalPosition().toPoint() - m_pressGlobal;
    QWidget* panel = window();
    QRect frame = m_geometryAtPress;
    const auto bound = [](int value, int low, int high) { return std::max(low, std::min(value, high)); };
    if (m_resizing & Qt::RightEdge)
        frame.setWidth(bound(frame.width() + delta.x(), panel->minimumWidth(), panel->maximumWidth()));
    if (m_resizing & Qt::LeftEdge) {
        const int width = bound(frame.width() - delta.x(), panel->minimumWidth(), panel->maximumWidth());
        frame.setLeft(m_geometryAtPress.right() + 1 - width);
    }
    if (m_resizing & Qt::BottomEdge)
        frame.setHeight(bound(frame.height() + delta.y(), panel->minimumHeight(), panel->maximumHeight()));
    panel->setGeometry(frame);
}

void StickyView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_resizing = {};
    QWidget::mouseReleaseEvent(event);
}

} // namespace Dovrin::Stickies
