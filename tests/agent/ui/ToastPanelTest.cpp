#include "ToastPanel.h"
#include "ManualClock.h"
#include "ToastView.h"

#include <QApplication>
#include <QScreen>
#include <QToolButton>
#include <QtTest>

using namespace Dovrin::Agent;
using DesignGeometry::ScreenFrames;

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

} // namespace

class ToastPanelTest : public QObject {
    Q_OBJECT

private slots:
    void origin_hangsUnderTheTrayIconInsideTheVisibleFrame() {
        QCOMPARE(ToastPanel::origin(trayAt(1000, 876), twoScreens), QPointF(1012 - 186, 876 - 8 + 16 - 204));
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

    void designCoordinates_roundTripThroughQts() {
        const QRectF primary(100, 50, 1920, 1080);
        const QRectF window(300, 70, 372, 204);
        const QRectF design = DesignGeometry::fromQt(window, primary);
        QCOMPARE(design, QRectF(200, 1130 - 274, 372, 204));
        QCOMPARE(DesignGeometry::toQt(design, primary), window);
    }

    void panel_showsTheNewestThreeWithoutFocusAndHidesWhenEmpty() {
        ManualClock clock;
        Toasts toasts(clock);
        ToastPanel panel(toasts, [] { return std::nullopt; });
        QVERIFY(panel.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
        QVERIFY(!panel.isVisible());

        for (const QString agent : {"A", "B", "C", "D"})
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

QTEST_MAIN(ToastPanelTest)
#include "ToastPanelTest.moc"
