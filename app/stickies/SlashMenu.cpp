#include "app/stickies/SlashMenu.h"

#include "app/stickies/EditorPopoverIcons.h"
#include "app/stickies/SlashMenuModel.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

namespace {

constexpr int separatorHeight = 9;
constexpr int emptyHeight = 32;
constexpr int footerHeight = 26;
constexpr int glyphBox = 20;
constexpr int glyphSize = 12;
constexpr int inset = 6;

QFont sized(QFont font, int pixels, QFont::Weight weight = QFont::Normal) {
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

} // namespace

SlashMenu::SlashMenu(SlashMenuModel& model, QWidget* parent)
    : QWidget(parent), m_model(model),
      m_colors(popoverColors(Store::StickyColor::yellow, Appearance::light)) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    connect(&m_model, &SlashMenuModel::changed, this, [this] {
        updateGeometry();
        update();
    });
}

void SlashMenu::setColors(const PopoverColors& colors) {
    m_colors = colors;
    update();
}

QString SlashMenu::emptyText() const {
    return tr("No results for “%1”", "Slash menu: nothing matches the typed text").arg(m_model.query());
}

SlashMenu::Layout SlashMenu::layoutRows() const {
    Layout layout;
    int y = 0;
    const QList<SlashItem>& matches = m_model.matches();
    for (qsizetype i = 0; i < matches.size(); ++i) {
        if (i > 0 && matches.at(i).group != matches.at(i - 1).group) {
            layout.separators.append(y + separatorHeight / 2);
            y += separatorHeight;
        }
        layout.rows.append(QRect(0, y, menuWidth, rowHeight));
        y += rowHeight;
    }
    if (matches.isEmpty()) {
        layout.empty = QRect(0, y, menuWidth, emptyHeight);
        y += emptyHeight;
    }
    layout.footerTop = y + 4;
    layout.height = layout.footerTop + footerHeight;
    return layout;
}

QSize SlashMenu::sizeHint() const {
    return {menuWidth, layoutRows().height};
}

int SlashMenu::rowAt(QPoint position) const {
    const QList<QRect> rows = layoutRows().rows;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows.at(i).contains(position))
            return int(i);
    }
    return -1;
}

void SlashMenu::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Layout layout = layoutRows();
    for (const int y : layout.separators)
        painter.fillRect(QRectF(inset, y, width() - 2 * inset, 1), m_colors.separator);
    for (qsizetype i = 0; i < layout.rows.size(); ++i)
        paintRow(painter, int(i), layout.rows.at(i));
    if (!layout.empty.isNull()) {
        painter.setFont(sized(font(), 13));
        painter.setPen(m_colors.secondaryText);
        const QRect text = layout.empty.adjusted(inset + 4, 0, -inset, 0);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetrics(painter.font()).elidedText(emptyText(), Qt::ElideMiddle, text.width()));
    }
    painter.fillRect(QRectF(0, layout.footerTop, width(), 1), m_colors.separator);
    paintFooter(painter, QRect(0, layout.footerTop + 1, width(), footerHeight - 1));
}

void SlashMenu::paintRow(QPainter& painter, int index, const QRect& rect) const {
    const SlashItem& item = m_model.matches().at(index);
    if (index == m_model.selected()) {
        QPainterPath background;
        background.addRoundedRect(QRectF(rect).adjusted(0, 1, 0, -1), 6, 6);
        painter.fillPath(background, m_colors.selectedBackground);
    }
    const QRectF box(rect.x() + inset, rect.center().y() + 1 - glyphBox / 2.0, glyphBox, glyphBox);
    QPainterPath boxPath;
    boxPath.addRoundedRect(box, 5, 5);
    painter.fillPath(boxPath, m_colors.separator);
    if (item.glyph.kind == SlashItem::Glyph::Kind::symbol) {
        const QPixmap glyph =
            popoverSymbol(item.glyph.value, QSize(glyphSize, glyphSize), m_colors.text, devicePixelRatioF());
        painter.drawPixmap(box.center() - QPointF(glyphSize / 2.0, glyphSize / 2.0), glyph);
    } else {
        painter.setFont(sized(font(), 10, QFont::Bold));
        painter.setPen(m_colors.text);
        painter.drawText(box, Qt::AlignCenter, item.glyph.value);
    }

    const int textLeft = int(box.right()) + 8;
    QRect hintRect;
    if (!item.hint.isEmpty()) {
        QFont hintFont = sized(font(), 11);
        hintFont.setFamilies({u"monospace"_s});
        hintFont.setStyleHint(QFont::Monospace);
        painter.setFont(hintFont);
        const int hintWidth = QFontMetrics(hintFont).horizontalAdvance(item.hint);
        hintRect = QRect(rect.right() - inset - 4 - hintWidth, rect.y(), hintWidth, rect.height());
        painter.setPen(m_colors.secondaryText);
        painter.drawText(hintRect, Qt::AlignRight | Qt::AlignVCenter, item.hint);
    }
    painter.setFont(sized(font(), 13));
    painter.setPen(m_colors.text);
    const int right = hintRect.isNull() ? rect.right() - inset : hintRect.left() - 8;
    const QRect nameRect(textLeft, rect.y(), right - textLeft, rect.height());
    painter.drawText(
        nameRect, Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetrics(painter.font()).elidedText(item.shownName(), Qt::ElideRight, nameRect.width()));
}

void SlashMenu::paintFooter(QPainter& painter, const QRect& rect) const {
    const QFont keyFont = sized(font(), 11, QFont::DemiBold);
    const QFont labelFont = sized(font(), 11);
    const QList<std::pair<QString, QString>> keys{
        {u"↑↓"_s, tr("Move", "Slash menu footer: the arrow keys move the selection")},
        {u"↵"_s, tr("Insert", "Slash menu footer: Return inserts the selected block")},
        {tr("esc", "Slash menu footer: the Escape key"),
         tr("Close", "Slash menu footer: Escape closes the menu")},
    };
    int x = rect.x() + inset + 4;
    for (const auto& [key, label] : keys) {
        painter.setFont(keyFont);
        painter.setPen(m_colors.secondaryText);
        const int keyWidth = QFontMetrics(keyFont).horizontalAdvance(key);
        painter.drawText(QRect(x, rect.y(), keyWidth, rect.height()), Qt::AlignLeft | Qt::AlignVCenter, key);
        x += keyWidth + 4;
        painter.setFont(labelFont);
        const int labelWidth = QFontMetrics(labelFont).horizontalAdvance(label);
        painter.drawText(QRect(x, rect.y(), labelWidth, rect.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         label);
        x += labelWidth + 12;
    }
}

void SlashMenu::mouseMoveEvent(QMouseEvent* event) {
    if (const int row = rowAt(event->position().toPoint()); row >= 0)
        m_model.select(row);
    QWidget::mouseMoveEvent(event);
}

void SlashMenu::mousePressEvent(QMouseEvent* event) {
    const int row = rowAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || row < 0)
        return QWidget::mousePressEvent(event);
    event->accept();
    emit rowClicked(row);
}

} // namespace Dovrin::Stickies
