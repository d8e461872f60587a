#include "app/shell/SettingsSection.h"

#include "app/core/ColorMix.h"
#include "app/shell/WindowStyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace Dovrin::Shell {

namespace {

constexpr qreal cornerRadius = 10;
constexpr int rowPadding = 12;

} // namespace

// Paints the card and the lines between its rows.
class SettingsSection::Card final : public QWidget {
public:
    explicit Card(QWidget* parent) : QWidget(parent), m_rows(new QVBoxLayout(this)) {
        m_rows->setContentsMargins(0, 0, 0, 0);
        m_rows->setSpacing(0);
    }

    void add(QWidget* row) {
        row->setParent(this);
        m_rows->addWidget(row);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor text = palette().color(QPalette::WindowText);
        const QColor window = palette().color(QPalette::Window);
        const bool dark = window.lightnessF() < 0.5;
        QPainterPath card;
        card.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
        painter.fillPath(card,
                         dark ? Core::mixed(window, Qt::white, 0.05F) : palette().color(QPalette::Base));
        painter.setPen(QPen(Core::withAlpha(text, dark ? 0.12F : 0.10F), 1));
        painter.drawPath(card);
        for (int i = 0; i + 1 < m_rows->count(); ++i) {
            const QWidget* row = m_rows->itemAt(i)->widget();
            if (!row || !row->isVisible())
                continue;
            const qreal y = row->geometry().bottom() + 0.5;
            painter.drawLine(QPointF(rowPadding, y), QPointF(width() - rowPadding, y));
        }
    }

private:
    QVBoxLayout* m_rows;
};

SettingsSection::SettingsSection(const QString& title, QWidget* parent)
    : QWidget(parent), m_card(new Card(this)), m_layout(new QVBoxLayout(this)) {
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(6);
    if (!title.isEmpty()) {
        auto* heading = new QLabel(title, this);
        QFont bold = heading->font();
        bold.setWeight(QFont::DemiBold);
        heading->setFont(bold);
        heading->setContentsMargins(4, 0, 0, 0);
        m_layout->addWidget(heading);
    }
    m_layout->addWidget(m_card);
}

QLabel* SettingsSection::addRow(const QString& title, QWidget* control, const QString& note) {
    auto* row = new QWidget;
    auto* columns = new QHBoxLayout(row);
    columns->setContentsMargins(rowPadding + 2, rowPadding - 2, rowPadding, rowPadding - 2);
    columns->setSpacing(16);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto* titleLabel = new QLabel(title, row);
    titleLabel->setWordWrap(true);
    titleLabel->setBuddy(control);
    texts->addWidget(titleLabel);
    QLabel* noteLabel = nullptr;
    if (!note.isEmpty()) {
        noteLabel = secondaryLabel(note, row);
        texts->addWidget(noteLabel);
    }
    columns->addLayout(texts, 1);
    control->setParent(row);
    if (control->accessibleName().isEmpty())
        control->setAccessibleName(title);
    columns->addWidget(control, 0, Qt::AlignRight | Qt::AlignVCenter);
    m_card->add(row);
    return noteLabel;
}

void SettingsSection::addWidget(QWidget* widget) {
    auto* row = new QWidget;
    auto* margins = new QVBoxLayout(row);
    margins->setContentsMargins(rowPadding + 2, rowPadding - 2, rowPadding, rowPadding - 2);
    widget->setParent(row);
    margins->addWidget(widget);
    m_card->add(row);
}

QLabel* SettingsSection::addFooter(const QString& text) {
    QLabel* footer = secondaryLabel(text, this);
    footer->setContentsMargins(4, 0, 4, 0);
    m_layout->addWidget(footer);
    return footer;
}

} // namespace Dovrin::Shell
