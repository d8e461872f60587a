#include "app/stickies/StickyViewDragStrip.h"

#include "app/agent/LabelText.h"
#include "app/core/Clock.h"
#include "app/stickies/StickyPalette.h"
#include "app/stickies/StickyViewButton.h"
#include "app/stickies/StickyViewProvenanceLabel.h"
#include "app/stickies/StickyViewState.h"
#include "app/stickies/StickyViewTexts.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

namespace {

constexpr int edgePadding = 8;
constexpr int labelPadding = 14;
constexpr int labelGap = 6;
constexpr int titlePadding = 62;

} // namespace

StickyViewDragStrip::StickyViewDragStrip(StickyViewState* state, QWidget* parent)
    : QWidget(parent), m_state(state), m_close(new StickyViewButton(StickyGlyph::xmark, this)),
      m_newSticky(new StickyViewButton(StickyGlyph::plus, this)),
      m_copyLink(new StickyViewButton(StickyGlyph::link, this)),
      m_provenance(new StickyViewProvenanceLabel(this)) {
    m_close->setObjectName(u"close"_s);
    m_newSticky->setObjectName(u"newSticky"_s);
    m_copyLink->setObjectName(u"copyLink"_s);
    m_close->setText(StickyViewTexts::closeLabel());
    m_close->setToolTip(StickyViewTexts::closeToolTip());
    m_newSticky->setText(StickyViewTexts::newStickyLabel());
    connect(m_close, &QAbstractButton::clicked, m_state, [this] { m_state->request(StickyAction::close); });
    connect(m_newSticky, &QAbstractButton::clicked, m_state,
            [this] { m_state->request(StickyAction::newSticky); });
    connect(m_copyLink, &QAbstractButton::clicked, m_state,
            [this] { m_state->request(StickyAction::copyLink); });
    refresh();
}

void StickyViewDragStrip::refresh() {
    const Store::Note& note = m_state->note();
    const Appearance appearance = currentAppearance();
    const StickyColors colors = stickyPalette(note.color, appearance);
    const QColor highlight = neutralColors(appearance).controlHighlight;
    for (StickyViewButton* button : {m_close, m_newSticky, m_copyLink})
        button->setTint(colors.tint, highlight);

    const bool hasText = !note.isBlank();
    const bool copied = m_state->isShowingCopied();
    m_copyLink->setGlyph(copied ? StickyGlyph::checkmark : StickyGlyph::link);
    m_copyLink->setText(StickyViewTexts::copyLinkLabel(copied));
    m_copyLink->setTextShown(copied);
    m_copyLink->setEnabled(hasText);
    m_copyLink->setToolTip(StickyViewTexts::copyLinkToolTip(hasText));

    const bool controlsShown = m_state->isHovering();
    for (StickyViewButton* button : {m_close, m_newSticky, m_copyLink})
        button->setVisible(controlsShown);

    const auto& provenance = m_state->provenance();
    m_provenance->setVisible(provenance && !note.isCollapsed);
    m_provenance->setColor(colors.tint);
    if (provenance) {
        m_provenance->setText(controlsShown ? Agent::LabelText::shortForm(provenance->label.action)
                                            : Agent::LabelText::fullForm(provenance->label));
        m_provenance->setAccessibleName(
            Agent::LabelText::spokenForm(provenance->label, provenance->at, Core::Clock::system().now()));
    }

    layoutChildren();
    update();
}

bool StickyViewDragStrip::event(QEvent* event) {
    // The tooltip names how long ago the AI acted, so it is written when it shows.
    if (event->type() == QEvent::ToolTip) {
        const auto& provenance = m_state->provenance();
        if (!provenance)
            return true;
        QToolTip::showText(
            static_cast<QHelpEvent*>(event)->globalPos(),
            Agent::LabelText::tooltip(provenance->label, provenance->at, Core::Clock::system().now()), this);
        return true;
    }
    return QWidget::event(event);
}

void StickyViewDragStrip::layoutChildren() {
    const int top = (stripHeight - m_close->sizeHint().height()) / 2;
    m_close->setGeometry(QRect(QPoint(edgePadding, top), m_close->sizeHint()));
    const QSize plusSize = m_newSticky->sizeHint();
    m_newSticky->setGeometry(QRect(QPoint(width() - edgePadding - plusSize.width(), top), plusSize));
    const QSize linkSize = m_copyLink->sizeHint();
    m_copyLink->setGeometry(QRect(QPoint(m_newSticky->x() - 2 - linkSize.width(), top), linkSize));

    const bool controlsShown = m_close->isVisibleTo(this);
    const int right = controlsShown ? m_copyLink->x() - labelGap : width() - labelPadding;
    const int left = controlsShown ? m_close->geometry().right() + 1 + labelGap : labelPadding;
    const QSize labelSize = m_provenance->sizeHint();
    const int labelWidth = std::max(0, std::min(labelSize.width(), right - left));
    m_provenance->setGeometry(right - labelWidth, (stripHeight - labelSize.height()) / 2, labelWidth,
                              labelSize.height());
}

void StickyViewDragStrip::paintEvent(QPaintEvent*) {
    const Store::Note& note = m_state->note();
    if (!note.isCollapsed)
        return;
    QPainter painter(this);
    QFont font = this->font();
    font.setPixelSize(13);
    font.setWeight(QFont::Medium);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -0.078);
    painter.setFont(font);
    painter.setPen(stickyPalette(note.color).text);
    QRect titleRect = rect().adjusted(titlePadding, 0, -titlePadding, 0);
    // "Copied" widens its control past the padding; the title gives way rather than run under it.
    if (m_copyLink->isVisibleTo(this))
        titleRect.setRight(std::min(titleRect.right(), m_copyLink->x() - labelGap));
    painter.drawText(titleRect, Qt::AlignCenter,
                     QFontMetrics(font).elidedText(note.title(), Qt::ElideRight, titleRect.width()));
}

void StickyViewDragStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
}

void StickyViewDragStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_drag = Drag::pressed;
    m_pressGlobal = event->globalPosition().toPoint();
    m_windowAtPress = window()->pos();
}

void StickyViewDragStrip::mouseMoveEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (m_drag == Drag::pressed &&
        (global - m_pressGlobal).manhattanLength() >= QApplication::startDragDistance()) {
        // The window manager moves the window when it can (it knows about edges and other screens); a
        // platform without that gets a plain move that follows the mouse.
        QWindow* handle = window()->windowHandle();
        m_drag = handle && handle->startSystemMove() ? Drag::system : Drag::manual;
    }
    if (m_drag == Drag::manual)
        window()->move(m_windowAtPress + (global - m_pressGlobal));
}

void StickyViewDragStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_drag = Drag::none;
    QWidget::mouseReleaseEvent(event);
}

void StickyViewDragStrip::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    m_drag = Drag::none;
    m_state->request(StickyAction::toggleCollapsed);
}

void StickyViewDragStrip::contextMenuEvent(QContextMenuEvent* event) {
    m_state->requestMenu(event->globalPos());
}

} // namespace Dovrin::Stickies
