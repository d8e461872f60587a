#include "app/stickies/LinkHoverCard.h"

#include "app/stickies/LinkHoverModel.h"
#include "app/stickies/PillButton.h"

#include <QHBoxLayout>
#include <QLabel>

namespace Dovrin::Stickies {

namespace {

constexpr int hrefWidth = 180;

} // namespace

LinkHoverCard::LinkHoverCard(LinkHoverModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_href(new QLabel(this)),
      m_edit(new PillButton(tr("Edit", "Link card: edit the link under the mouse"), false, this)),
      m_copy(new PillButton(tr("Copy", "Link card: copy the link's address"), false, this)),
      m_remove(new PillButton(tr("Remove", "Link card: remove the link, keeping its text"), false, this)) {
    setFocusPolicy(Qt::NoFocus);
    QFont font = m_href->font();
    font.setPixelSize(12);
    m_href->setFont(font);
    m_href->setTextFormat(Qt::PlainText);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(m_href);
    layout->addSpacing(6);
    layout->addWidget(m_edit);
    layout->addWidget(m_copy);
    layout->addWidget(m_remove);
    connect(m_edit, &QAbstractButton::clicked, this, &LinkHoverCard::editPressed);
    connect(m_copy, &QAbstractButton::clicked, this, &LinkHoverCard::copyPressed);
    connect(m_remove, &QAbstractButton::clicked, this, &LinkHoverCard::removePressed);
    connect(&m_model, &LinkHoverModel::changed, this, &LinkHoverCard::refresh);
    refresh();
}

void LinkHoverCard::setColors(const PopoverColors& colors) {
    QPalette palette = m_href->palette();
    palette.setColor(QPalette::WindowText, colors.secondaryText);
    m_href->setPalette(palette);
    for (PillButton* button : {m_edit, m_copy, m_remove})
        button->setColors(colors);
}

void LinkHoverCard::refresh() {
    const QString href = m_model.href();
    m_href->setText(m_href->fontMetrics().elidedText(href, Qt::ElideMiddle, hrefWidth));
    m_href->setToolTip(href);
    m_href->setVisible(!href.isEmpty());
}

} // namespace Dovrin::Stickies
