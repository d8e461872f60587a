#include "ToastView.h"

#include "AgentIcons.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace Dovrin::Agent {

namespace {

// The design's sizes are logical pixels, not typographic points.
QFont sizedFont(const QFont& base, int pixels) {
    QFont font = base;
    font.setPixelSize(pixels);
    return font;
}

} // namespace

ToastView::ToastView(Toasts& toasts, const Toast& toast, QWidget* parent)
    : QWidget(parent), m_toasts(toasts), m_toastID(toast.id) {
    setFixedWidth(width);
    setMinimumHeight(minimumHeight);
    setAttribute(Qt::WA_Hover);

    // The panel draws the shadow, so that this one effect can fade the whole toast.
    m_opacity = new QGraphicsOpacityEffect(this);
    m_opacity->setOpacity(0);
    setGraphicsEffect(m_opacity);
    connect(m_opacity, &QGraphicsOpacityEffect::opacityChanged, this, [this] {
        if (parentWidget())
            parentWidget()->window()->update();
    });

    const QColor text = palette().color(QPalette::WindowText);
    auto* sparkle = new QLabel(this);
    sparkle->setPixmap(AgentIcons::sparkle(text).pixmap(11, 11));
    sparkle->setAlignment(Qt::AlignTop);
    sparkle->setContentsMargins(0, 3, 0, 0);

    m_message = new QLabel(this);
    m_message->setFont(sizedFont(font(), 13));
    m_message->setWordWrap(true);
    m_message->setTextFormat(Qt::PlainText);

    m_close = new QToolButton(this);
    m_close->setIcon(AgentIcons::xmark(text));
    m_close->setIconSize(QSize(7, 7));
    m_close->setFixedSize(16, 16);
    m_close->setAutoRaise(true);
    m_close->setFocusPolicy(Qt::NoFocus);
    m_close->setAccessibleName(tr("Dismiss"));
    m_close->setToolTip(tr("Dismiss"));
    m_close->setStyleSheet(QStringLiteral("QToolButton { border: none; border-radius: 8px; "
                                          "background: rgba(0, 0, 0, 0.08); }"));
    connect(m_close, &QToolButton::clicked, this, [this] {
        for (const Toast& shown : m_toasts.items()) {
            if (shown.id == m_toastID) {
                m_toasts.dismiss(shown);
                return;
            }
        }
    });

    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(sparkle, 0, Qt::AlignTop);
    top->addWidget(m_message, 1);
    top->addWidget(m_close, 0, Qt::AlignTop);

    m_buttons = new QHBoxLayout;
    m_buttons->setSpacing(6);
    m_buttons->setContentsMargins(19, 0, 0, 0);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 10, 10, 10);
    column->setSpacing(8);
    column->addLayout(top);
    column->addLayout(m_buttons);

    setToast(toast);
}

void ToastView::setToast(const Toast& toast) {
    m_message->setText(toast.message);
    while (QLayoutItem* item = m_buttons->takeAt(0)) {
        if (QWidget* old = item->widget()) {
            // The pressed button may be the one going away, still inside its clicked signal.
            old->hide();
            old->deleteLater();
        }
        delete item;
    }
    for (const ToastAction& action : toast.actions) {
        auto* button = new QPushButton(action.title, this);
        button->setFont(sizedFont(font(), 12));
        button->setFixedHeight(28);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFlat(true);
        button->setStyleSheet(
            QStringLiteral("QPushButton { border: none; border-radius: 6px; padding: 0 12px; "
                           "background: rgba(0, 0, 0, 0.05); }"
                           "QPushButton:pressed { background: rgba(0, 0, 0, 0.1); }"));
        connect(button, &QPushButton::clicked, this,
                [this, actionID = action.id] { m_toasts.runAction(m_toastID, actionID); });
        m_buttons->addWidget(button);
    }
    m_buttons->addStretch(1);
    QWidget::update();
}

qreal ToastView::opacity() const {
    return m_opacity->opacity();
}

void ToastView::appear() {
    fade(1, [] {});
}

void ToastView::leave() {
    m_leaving = true;
    setEnabled(false);
    fade(0, [this] { deleteLater(); });
}

void ToastView::fade(qreal to, std::function<void()> done) {
    auto* animation = new QPropertyAnimation(m_opacity, "opacity", this);
    animation->setDuration(fadeMs);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    animation->setEndValue(to);
    connect(animation, &QPropertyAnimation::finished, this, std::move(done));
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void ToastView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor background = palette().color(QPalette::Window);
    background.setAlphaF(m_hovered ? 1.0 : 0.97);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
    painter.fillPath(shape, background);
    painter.setPen(QColor(0, 0, 0, 25));
    painter.drawPath(shape);
}

void ToastView::enterEvent(QEnterEvent* event) {
    m_hovered = true;
    QWidget::update();
    QWidget::enterEvent(event);
}

void ToastView::leaveEvent(QEvent* event) {
    m_hovered = false;
    QWidget::update();
    QWidget::leaveEvent(event);
}

} // namespace Dovrin::Agent
