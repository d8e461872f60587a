#include "app/stickies/FormatBar.h"

#include "app/stickies/EditorPopoverIcons.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

namespace {

// A format button as one accessible button, selected (and checked) while its mark is active.
class FormatBarButtonAccessible final : public QAccessibleWidget {
public:
    explicit FormatBarButtonAccessible(FormatBarButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const bool active = static_cast<FormatBarButton*>(widget())->isActive();
        state.selectable = true;
        state.selected = active;
        state.checkable = true;
        state.checked = active;
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction())
            static_cast<FormatBarButton*>(widget())->click();
    }
};

QAccessibleInterface* createInterface(const QString&, QObject* object) {
    if (auto* button = qobject_cast<FormatBarButton*>(object))
        return new FormatBarButtonAccessible(button);
    return nullptr;
}

void installAccessible() {
    static const bool installed = (QAccessible::installFactory(createInterface), true);
    Q_UNUSED(installed);
}

void paintLetter(QPainter& painter, const QRectF& cell, const FormatItem& item, const QColor& color) {
    QFont font = painter.font();
    font.setPixelSize(14);
    switch (item.glyph) {
    case FormatItem::Glyph::bold:
        font.setWeight(QFont::Bold);
        break;
    case FormatItem::Glyph::italic:
        font.setWeight(QFont::Medium);
        font.setItalic(true);
        break;
    default:
        font.setStrikeOut(true);
        break;
    }
    painter.setFont(font);
    painter.setPen(color);
    const QString letter = item.glyph == FormatItem::Glyph::bold     ? u"B"_s
                           : item.glyph == FormatItem::Glyph::italic ? u"I"_s
                                                                     : u"S"_s;
    painter.drawText(cell, Qt::AlignCenter, letter);
}

} // namespace

FormatBarButton::FormatBarButton(const FormatItem& item, QWidget* parent)
    : QAbstractButton(parent), m_item(item),
      m_colors(popoverColors(Store::StickyColor::yellow, Appearance::light)) {
    installAccessible();
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setFixedSize(cellSize);
    setText(item.shownTitle());
    setAccessibleName(item.shownTitle());
    setToolTip(item.shownTitle());
}

void FormatBarButton::setActive(bool active) {
    if (active == m_active)
        return;
    m_active = active;
    update();
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.selected = true;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void FormatBarButton::setColors(const PopoverColors& colors) {
    m_colors = colors;
    update();
}

void FormatBarButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF cell(rect());
    if (m_active || isDown() || m_underMouse) {
        QPainterPath background;
        background.addRoundedRect(cell.adjusted(1, 1, -1, -1), 5, 5);
        painter.fillPath(background, m_active ? m_colors.selectedBackground : m_colors.highlight);
    }
    const QColor color = m_active ? m_colors.tint : m_colors.text;
    if (m_item.glyph == FormatItem::Glyph::code || m_item.glyph == FormatItem::Glyph::link) {
        const int size = m_item.glyph == FormatItem::Glyph::code ? 11 : 12;
        const QString symbol = m_item.glyph == FormatItem::Glyph::code
                                   ? u"chevron.left.forwardslash.chevron.right"_s
                                   : u"link"_s;
        const QPixmap glyph = popoverSymbol(symbol, QSize(size, size), color, devicePixelRatioF());
        painter.drawPixmap(cell.center() - QPointF(size / 2.0, size / 2.0), glyph);
        return;
    }
    paintLetter(painter, cell, m_item, color);
}

void FormatBarButton::enterEvent(QEnterEvent* event) {
    m_underMouse = true;
    update();
    QAbstractButton::enterEvent(event);
}

void FormatBarButton::leaveEvent(QEvent* event) {
    m_underMouse = false;
    update();
    QAbstractButton::leaveEvent(event);
}

FormatBar::FormatBar(FormatBarModel& model, QWidget* parent) : QWidget(parent), m_model(model) {
    setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const FormatItem& item : formatItems()) {
        auto* button = new FormatBarButton(item, this);
        layout->addWidget(button);
        m_buttons.append(button);
        connect(button, &QAbstractButton::clicked, this,
                [this, command = item.command()] { emit commandPressed(command); });
    }
    connect(&m_model, &FormatBarModel::changed, this, &FormatBar::refresh);
    refresh();
}

void FormatBar::setColors(const PopoverColors& colors) {
    for (FormatBarButton* button : m_buttons)
        button->setColors(colors);
}

void FormatBar::refresh() {
    for (FormatBarButton* button : m_buttons)
        button->setActive(m_model.isActive(button->item()));
}

} // namespace Dovrin::Stickies
