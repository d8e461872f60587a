#include "app/agent/ui/ToastView.h"

#include "app/agent/ui/AgentIcons.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace Dovrin::Agent {

namespace {

// A spring of 0.5 s response and 0.85 damping fraction (stiffness (2π / response)², unit mass) has come
// within a thousandth of its end by this time, so the animation can stop there without a visible jump.
constexpr int springMs = 750;

qreal spring(qreal progress) {
    if (progress >= 1)
        return 1;
    constexpr double response = 0.5;
    constexpr double damping = 0.85;
    constexpr double natural = 2 * std::numbers::pi / response;
    constexpr double decay = damping * natural;
    const double oscillation = natural * std::sqrt(1 - damping * damping);
    const double t = progress * springMs / 1000;
    return 1 - std::exp(-decay * t) *
                   (std::cos(oscillation * t) + decay / oscillation * std::sin(oscillation * t));
}

// The toast's sizes are logical pixels, not typographic points.
QFont sizedFont(const QFont& base, int pixels) {
    QFont font = base;
    font.setPixelSize(pixels);
    return font;
}

} // namespace

ToastMotion ToastMotion::arrival(bool reduceMotion) {
    QEasingCurve curve;
    curve.setCustomType(spring);
    return ToastMotion{springMs, curve, !reduceMotion};
}

ToastMotion ToastMotion::removal(bool reduceMotion) {
    // The standard ease-out curve: cubic Bézier (0, 0), (0.58, 1).
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0, 0), QPointF(0.58, 1), QPointF(1, 1));
    return ToastMotion{200, curve, !reduceMotion};
}

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
    m_close->setStyleSheet(u"QToolButton { border: none; border-radius: 8px; "
                           "background: rgba(0, 0, 0, 0.08); }"_s);
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
        button->setStyleSheet(u"QPushButton { border: none; border-radius: 6px; padding: 0 12px; "
                              "background: rgba(0, 0, 0, 0.05); }"
                              "QPushButton:pressed { background: rgba(0, 0, 0, 0.1); }"_s);
        connect(button, &QPushButton::clicked, this,
                [this, actionID = action.id] { m_toasts.runAction(m_toastID, actionID); });
        m_buttons->addWidget(button);
        // A child made inside a toast already on screen starts hidden, and the toast's height is measured
        // before the event loop would show it.
        button->show();
    }
    m_buttons->addStretch(1);
    QWidget::update();
}

qreal ToastView::opacity() const {
    return m_opacity->opacity();
}

int ToastView::fittingHeight() const {
    return qMax(minimumHeight, hasHeightForWidth() ? heightForWidth(width) : sizeHint().height());
}

void ToastView::appear(QPoint slot, const ToastMotion& motion) {
    move(motion.moves ? slot - QPoint(0, height()) : slot);
    settle(slot, motion);
    animate(m_fade, m_opacity, "opacity", 1.0, motion);
}

void ToastView::settle(QPoint slot, const ToastMotion& motion) {
    m_slot = slot;
    animate(m_slide, this, "pos", slot, motion.moves ? motion : ToastMotion{});
}

void ToastView::leave(const ToastMotion& motion) {
    m_leaving = true;
    setEnabled(false);
    if (motion.moves)
        animate(m_slide, this, "pos", m_slot - QPoint(0, height()), motion);
    animate(m_fade, m_opacity, "opacity", 0.0, motion, [this] {
        emit left();
        deleteLater();
    });
}

void ToastView::animate(QPointer<QPropertyAnimation>& running, QObject* target, const QByteArray& property,
                        const QVariant& to, const ToastMotion& motion, std::function<void()> done) {
    // A newer change of the stack takes over from wherever the last one got to.
    if (running)
        running->stop();
    if (motion.ms <= 0) {
        target->setProperty(property, to);
        if (done)
            done();
        return;
    }
    auto* animation = new QPropertyAnimation(target, property, this);
    animation->setDuration(motion.ms);
    animation->setEasingCurve(motion.curve);
    animation->setEndValue(to);
    // The panel draws the shadows, which reach beyond the toast.
    connect(animation, &QVariantAnimation::valueChanged, this, [this] { window()->update(); });
    if (done)
        connect(animation, &QPropertyAnimation::finished, this, std::move(done));
    running = animation;
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
