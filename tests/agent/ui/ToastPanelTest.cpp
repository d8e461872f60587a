#include "app/agent/ui/ToastPanel.h"
#include "app/agent/ui/ToastView.h"
#include "app/agent/ui/X11.h"
#include "tests/support/ManualClock.h"
#include "tests/support/PrivateXServer.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace Dovrin::Agent;
using Dovrin::Core::ScreenSpace::ScreenFrames;

namespace {

// A laptop screen with a top panel of 25 points, and a larger screen to its right.
const QList<ScreenFrames> twoScreens{
    {QRectF(0, 0, 1440, 900), QRectF(0, 0, 1440, 875)},
    {QRectF(1440, 0, 1920, 1080), QRectF(1440, 0, 1920, 1080)},
};

QRectF trayAt(qreal x, qreal y) {
    return QRectF(x, y, 24, 24);
}

ToastKey keyFor(const QString& agent) {
    return ToastKey{agent, ToastKey::Kind::connected, std::nullopt};
}

// Drives every running animation to its end, as if its time had passed.
void finishAnimations(QObject& root) {
    QList<QAbstractAnimation*> running;
    while (!(running = root.findChildren<QAbstractAnimation*>()).isEmpty()) {
        for (QAbstractAnimation* animation : running) {
            if (animation->state() == QAbstractAnimation::Running)
                animation->setCurrentTime(animation->totalDuration());
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

QRect inPanel(const ToastView& view, const QWidget& panel) {
    return QRect(view.mapTo(&panel, QPoint(0, 0)), view.size());
}

} // namespace

// Runs in a child process whose Qt talks to a virtual X server.
class ToastPanelOnX11Test final : public QObject {
    Q_OBJECT

private slots:
    void panel_joinsEveryDesktop() {
        ManualClock clock;
        Toasts toasts(clock);
        ToastPanel panel(toasts, [] { return std::nullopt; });
        toasts.show(keyFor("A"), std::nullopt, "A is connected to Dovrin.", {}, "A");
        xcb_connection_t* connection = X11::connection();
        QVERIFY(connection);
        const xcb_atom_t desktop = X11::atom(connection, "_NET_WM_DESKTOP");
        const auto window = xcb_window_t(panel.windowHandle()->winId());
        // The desktop number that stands for all of them.
        QTRY_COMPARE(X11::propertyValues(connection, window, desktop, XCB_ATOM_CARDINAL),
                     QList<quint32>{0xFFFFFFFF});
    }
};

class ToastPanelTest : public QObject {
    Q_OBJECT

private slots:
    void origin_hangsUnderTheTrayIconInsideTheVisibleFrame() {
        QCOMPARE(ToastPanel::origin(trayAt(1000, 876), twoScreens), QPointF(1012 - 186, 876 - 8 + 16 - 204));
        // A taller panel keeps its top under the icon.
        QCOMPARE(ToastPanel::origin(trayAt(1000, 876), twoScreens, 300).y(), 876 - 8 + 16 - 300.0);
        QCOMPARE(ToastPanel::origin(trayAt(5, 876), twoScreens).x(), 0.0);
        QCOMPARE(ToastPanel::origin(trayAt(1410, 876), twoScreens).x(), 1440.0 - 372);
        QCOMPARE(ToastPanel::origin(trayAt(3340, 1056), twoScreens).x(), 3360.0 - 372);

        const QList<ScreenFrames> bottomPanel{{QRectF(0, 0, 1440, 900), QRectF(0, 40, 1440, 860)}};
        QCOMPARE(ToastPanel::origin(trayAt(1000, 8), bottomPanel).y(), 40.0);
    }

    void origin_fallsBackToTheMainScreensTopRightCorner() {
        const QPointF corner(1440 - 12 + 16 - 372, 875 - 12 + 16 - 204);
        QCOMPARE(ToastPanel::origin(std::nullopt, twoScreens), corner);
        QCOMPARE(ToastPanel::origin(trayAt(-500, -500), twoScreens), corner);
    }

    void yUpCoordinates_roundTripThroughQts() {
        const QRectF primary(100, 50, 1920, 1080);
        const QRectF window(300, 70, 372, 204);
        const QRectF yUp = Dovrin::Core::ScreenSpace::fromQt(window, primary);
        QCOMPARE(yUp, QRectF(200, 1130 - 274, 372, 204));
        QCOMPARE(Dovrin::Core::ScreenSpace::toQt(yUp, primary), window);
    }

    void panel_showsTheNewestThreeWithoutFocusAndHidesWhenEmpty() {
        ManualClock clock;
        Toasts toasts(clock);
        ToastPanel panel(toasts, [] { return std::nullopt; });
        QVERIFY(panel.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
        QVERIFY(!panel.isVisible());

        for (const QString& agent : {u"A"_s, u"B"_s, u"C"_s, u"D"_s})
            toasts.show(keyFor(agent), std::nullopt, agent + " is connected to Dovrin.", {}, agent);
        QVERIFY(panel.isVisible());
        QCOMPARE(panel.size(), QSize(372, 204));
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(panel.pos(), QPoint(available.x() + available.width() - 368, available.y() - 4));
        // The pushed-out toast fades away, then its view is gone.
        QCOMPARE(panel.findChildren<ToastView*>().size(), 4);
        QTRY_COMPARE(panel.findChildren<ToastView*>().size(), 3);
        QVERIFY(!QApplication::focusWidget());

        QToolButton* dismiss = nullptr;
        for (QToolButton* button : panel.findChildren<QToolButton*>()) {
            if (button->accessibleName() == "Dismiss")
                dismiss = button;
        }
        QVERIFY(dismiss);
        dismiss->click();
        QCOMPARE(toasts.items().size(), 2);

        clock.advance(6250);
        QVERIFY(toasts.items().isEmpty());
        QVERIFY(!panel.isVisible());
    }

    void threeToasts_panelGrowsDownwardsToHoldThemWhole() {
        ManualClock clock;
        Toasts toasts(clock);
        ToastPanel panel(toasts, [] { return std::nullopt; });
        const auto button = [](const QString& title) {
            return ToastAction{QUuid::createUuid(), title, [] {}};
        };
        toasts.show(keyFor("Claude"), std::nullopt, "Claude is connected to Dovrin.", {}, "connected");
        toasts.show(ToastKey{"Claude", ToastKey::Kind::created, std::nullopt}, QUuid::createUuid(),
                    "Claude added a sticky.", {button("Show"), button("Undo")}, "added");
        toasts.show(ToastKey{"Claude", ToastKey::Kind::deleted, std::nullopt}, QUuid::createUuid(),
                    "Claude deleted “Packing list for the long weekend at the lake”.", {button("Undo")},
                    "deleted");
        finishAnimations(panel);
        QCoreApplication::processEvents();

        const QList<ToastView*> views = panel.findChildren<ToastView*>();
        QCOMPARE(views.size(), 3);
        for (const ToastView* view : views) {
            QVERIFY(panel.rect().contains(inPanel(*view, panel)));
            // Tall enough for its message and buttons.
            QVERIFY(view->height() >= view->heightForWidth(ToastView::width));
        }
        QCOMPARE(panel.size().width(), 372);
        QVERIFY(panel.size().height() > 204);
        // Its top stays 12 points in from the corner (the margin of 16 above the first toast included).
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(panel.pos(), QPoint(available.x() + available.width() - 368, available.y() - 4));
    }

    void newToast_movesInFromAboveFadingAndWithReduceMotionOnlyFades() {
        ManualClock clock;
        Toasts toasts(clock);
        ToastPanel panel(toasts, [] { return std::nullopt; });
        toasts.show(keyFor("A"), std::nullopt, "A is connected to Dovrin.", {}, "A");
        ToastView* first = panel.findChild<ToastView*>();
        const QRect start = inPanel(*first, panel);
        QCOMPARE(first->opacity(), 0.0);
        finishAnimations(panel);
        // From its own height above its place, where it now rests.
        QCOMPARE(inPanel(*first, panel), start.translated(0, first->height()));
        QCOMPARE(inPanel(*first, panel).topLeft(), QPoint(16, 16));
        QCOMPARE(first->opacity(), 1.0);

        Dovrin::Testing::TemporaryHome home;
        QFile settings(home.configFile("gtk-3.0/settings.ini"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[Settings]\ngtk-enable-animations=false\n");
        settings.close();

        toasts.show(keyFor("B"), std::nullopt, "B is connected to Dovrin.", {}, "B");
        ToastView* second = nullptr;
        for (ToastView* view : panel.findChildren<ToastView*>()) {
            if (view != first)
                second = view;
        }
        QVERIFY(second);
        const QRect secondAt = inPanel(*second, panel);
        const QRect firstAt = inPanel(*first, panel);
        QCOMPARE(second->opacity(), 0.0);
        finishAnimations(panel);
        QCOMPARE(inPanel(*second, panel), secondAt);
        QCOMPARE(inPanel(*first, panel), firstAt);
        QVERIFY(firstAt.top() > secondAt.bottom());
        QCOMPARE(second->opacity(), 1.0);
    }

    void onX11_panelJoinsEveryDesktop() {
        const Dovrin::Testing::PrivateXServer x;
        QVERIFY2(!x.display().isEmpty(), "Xvfb could not be started; the set-up script installs it");
        QString output;
        QVERIFY2(x.runOnX11(&output), qPrintable(output));
    }

    void pointerOverTheStack_pausesEveryCountdownAndLeavingResumesIt() {
        ManualClock clock;
        Toasts toasts(clock);
        ToastPanel panel(toasts, [] { return std::nullopt; });
        toasts.show(keyFor("A"), std::nullopt, "A is connected to Dovrin.", {}, "A");
        clock.advance(4000);
        QWidget* stack = panel.findChild<ToastView*>()->parentWidget();
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(stack, &enter);
        clock.advance(60'000);
        QCOMPARE(toasts.items().size(), 1);
        QCOMPARE(toasts.items().first().remaining, 2.0);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(stack, &leave);
        clock.advance(1750);
        QCOMPARE(toasts.items().size(), 1);
        clock.advance(250);
        QVERIFY(toasts.items().isEmpty());
    }
};

int main(int argc, char** argv) {
    return Dovrin::Testing::runTests<QApplication, ToastPanelTest, ToastPanelOnX11Test>(argc, argv);
}

#include "ToastPanelTest.moc"
