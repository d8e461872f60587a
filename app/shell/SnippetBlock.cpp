#include "app/shell/SnippetBlock.h"

#include "app/core/ColorMix.h"
#include "app/shell/QuietButton.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPainter>
#include <QTextEdit>
#include <QTimer>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

// Long enough to read, short enough that a second copy finds the button as it was.
constexpr int copiedFeedbackMs = 1500;

QString copyLabel() {
    return SnippetBlock::tr("Copy", "Button that copies a command or a file's content");
}

// Read-only text as tall as its wrapped lines, so the block grows instead of scrolling.
class WrappedText final : public QTextEdit {
public:
    explicit WrappedText(QWidget* parent) : QTextEdit(parent) {
        setReadOnly(true);
        setFrameShape(QFrame::NoFrame);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        QFont code = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        // A little smaller than the text around it, as code set in prose usually is.
        code.setPointSizeF(code.pointSizeF() * 0.92);
        setFont(code);
        setFocusPolicy(Qt::ClickFocus);
        document()->setDocumentMargin(0);
        viewport()->setAutoFillBackground(false);
        QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    bool hasHeightForWidth() const override { return true; }

    int heightForWidth(int width) const override {
        QTextDocument* text = document();
        const qreal laidOutFor = text->textWidth();
        text->setTextWidth(width);
        const int height = qCeil(text->size().height());
        text->setTextWidth(laidOutFor);
        return height;
    }

    QSize sizeHint() const override { return {240, heightForWidth(width() > 0 ? width() : 240)}; }
    QSize minimumSizeHint() const override { return {80, heightForWidth(width() > 0 ? width() : 240)}; }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QTextEdit::resizeEvent(event);
        if (height() != heightForWidth(width()))
            updateGeometry();
    }
};

} // namespace

SnippetBlock::SnippetBlock(QWidget* parent)
    : QFrame(parent), m_text(new WrappedText(this)), m_copy(new QuietButton(copyLabel(), this)) {
    m_copy->setObjectName(u"copy"_s);
    m_copy->setCursor(Qt::PointingHandCursor);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 10, 8, 10);
    layout->setSpacing(8);
    layout->addWidget(m_text, 1, Qt::AlignVCenter);
    layout->addWidget(m_copy, 0, Qt::AlignTop);
    connect(m_copy, &QPushButton::clicked, this, &SnippetBlock::copy);
}

void SnippetBlock::setText(const QString& text) {
    m_text->setPlainText(text);
    m_text->updateGeometry();
}

QString SnippetBlock::text() const {
    return m_text->toPlainText();
}

void SnippetBlock::paintEvent(QPaintEvent*) {
    const QPalette& colors = palette();
    const QColor window = colors.color(QPalette::Window);
    const bool dark = window.lightnessF() < 0.5;
    // A well a little deeper than the card it sits on.
    const QColor fill = dark ? Core::mixed(colors.color(QPalette::Base), window, 0.25f)
                             : Core::mixed(window, colors.color(QPalette::WindowText), 0.025f);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Core::withAlpha(colors.color(QPalette::WindowText), dark ? 0.10f : 0.08f));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
}

void SnippetBlock::copy() {
    QApplication::clipboard()->setText(text());
    m_copy->setText(tr("Copied", "The Copy button, just after copying"));
    QTimer::singleShot(copiedFeedbackMs, m_copy, [copy = m_copy] { copy->setText(copyLabel()); });
}

} // namespace Dovrin::Shell
