#include "app/shell/DeletedList.h"

#include "app/core/ColorMix.h"
#include "app/shell/DeletedRow.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace Dovrin::Shell {

namespace {

constexpr int inset = 4;
constexpr int rowGap = 9;
constexpr qreal radius = 12;

// A light desktop's fields are lighter than its windows and a dark one's darker; the group is raised
// from the window either way.
QColor groupColor(const QPalette& palette) {
    const QColor window = palette.color(QPalette::Window);
    const QColor base = palette.color(QPalette::Base);
    return base.lightnessF() >= window.lightnessF()
               ? base
               : Core::mixed(window, palette.color(QPalette::WindowText), 0.05f);
}

} // namespace

DeletedList::DeletedList(QWidget* parent) : QWidget(parent), m_layout(new QVBoxLayout(this)) {
    m_layout->setContentsMargins(inset, inset, inset, inset);
    m_layout->setSpacing(rowGap);
}

void DeletedList::setRows(const QList<DeletedRow*>& rows) {
    for (DeletedRow* row : std::as_const(m_rows)) {
        m_layout->removeWidget(row);
        row->hide();
        row->deleteLater();
    }
    m_rows = rows;
    for (DeletedRow* row : rows)
        m_layout->addWidget(row);
    update();
}

void DeletedList::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor text = palette().color(QPalette::Text);
    QPainterPath group;
    group.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.setPen(QPen(Core::withAlpha(text, 0.1f), 1));
    painter.setBrush(groupColor(palette()));
    painter.drawPath(group);

    // The hairlines line up with the rows' texts rather than with their colour dots.
    painter.setPen(QPen(Core::withAlpha(text, 0.08f), 1));
    for (qsizetype i = 1; i < m_rows.size(); ++i) {
        const QRect above = m_rows.at(i - 1)->geometry();
        const qreal y = (above.bottom() + 1 + m_rows.at(i)->geometry().top()) / 2.0 + 0.5;
        painter.drawLine(QPointF(above.left() + DeletedRow::textIndent, y),
                         QPointF(above.right() - inset, y));
    }
}

} // namespace Dovrin::Shell
