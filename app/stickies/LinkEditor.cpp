#include "app/stickies/LinkEditor.h"

#include "app/stickies/LinkEditorModel.h"
#include "app/stickies/PillButton.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

namespace {

QString cssColor(const QColor& color) {
    return u"rgba(%1, %2, %3, %4)"_s.arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alphaF());
}

} // namespace

LinkEditor::LinkEditor(LinkEditorModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_field(new QLineEdit(this)),
      m_remove(
          new PillButton(tr("Remove Link", "Link editor: remove the link, keeping its text"), false, this)),
      m_cancel(new PillButton(tr("Cancel", "Link editor: close without changing the link"), false, this)),
      m_save(new PillButton(tr("Save", "Link editor: put the typed address on the text"), true, this)) {
    setFixedWidth(editorWidth);
    m_field->setPlaceholderText(tr("Paste or type a link", "Link editor: the empty address field"));
    m_field->setClearButtonEnabled(false);
    m_field->installEventFilter(this);
    QFont font = m_field->font();
    font.setPixelSize(13);
    m_field->setFont(font);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(4);
    buttons->addWidget(m_remove);
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_save);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 4);
    layout->setSpacing(8);
    layout->addWidget(m_field);
    layout->addLayout(buttons);

    connect(m_field, &QLineEdit::textEdited, this, [this](const QString& text) { m_model.setUrl(text); });
    connect(m_field, &QLineEdit::returnPressed, this, &LinkEditor::saveRequested);
    connect(m_save, &QAbstractButton::clicked, this, &LinkEditor::saveRequested);
    connect(m_remove, &QAbstractButton::clicked, this, &LinkEditor::removeRequested);
    connect(m_cancel, &QAbstractButton::clicked, this, &LinkEditor::cancelRequested);
    connect(&m_model, &LinkEditorModel::changed, this, &LinkEditor::refresh);
    refresh();
}

void LinkEditor::setColors(const PopoverColors& colors) {
    const QColor fieldBackground = colors.appearance == Appearance::dark ? QColor::fromRgbF(0, 0, 0, 0.25f)
                                                                         : QColor::fromRgbF(1, 1, 1, 0.85f);
    QColor selection = colors.tint;
    selection.setAlphaF(0.35f);
    m_field->setStyleSheet(u"QLineEdit { background: %1; color: %2; border: 1px solid %3; border-radius: 6px;"
                           " padding: 4px 6px; selection-background-color: %4; selection-color: %2; }"
                           "QLineEdit:focus { border: 1px solid %5; }"_s.arg(
                               cssColor(fieldBackground), cssColor(colors.text), cssColor(colors.border),
                               cssColor(selection), cssColor(colors.tint)));
    QPalette palette = m_field->palette();
    palette.setColor(QPalette::PlaceholderText, colors.secondaryText);
    m_field->setPalette(palette);
    for (PillButton* button : {m_remove, m_cancel, m_save})
        button->setColors(colors);
}

void LinkEditor::refresh() {
    if (m_field->text() != m_model.url())
        m_field->setText(m_model.url());
    m_remove->setVisible(m_model.isExisting());
}

bool LinkEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_field && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        emit cancelRequested();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace Dovrin::Stickies
