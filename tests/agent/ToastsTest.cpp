#include "app/agent/Toasts.h"
#include "tests/support/ManualClock.h"
#include "tests/support/TestMain.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace Dovrin::Agent;

namespace {

ToastKey key(const QString& agent, ToastKey::Kind kind = ToastKey::Kind::edited,
             std::optional<QUuid> note = std::nullopt) {
    return ToastKey{agent, kind, note};
}

QList<ToastAction> undoButton(int* pressed) {
    return {ToastAction{QUuid::createUuid(), u"Undo"_s, [pressed] { ++*pressed; }}};
}

QStringList messages(const Toasts& toasts) {
    QStringList texts;
    for (const Toast& toast : toasts.items())
        texts.append(toast.message);
    return texts;
}

} // namespace

class ToastsTest : public QObject {
    Q_OBJECT

private slots:
    void toast_expiresAfterSixSecondsThenPanelHides() {
        ManualClock clock;
        Toasts toasts(clock);
        QSignalSpy shown(&toasts, &Toasts::panelShown);
        QSignalSpy hidden(&toasts, &Toasts::panelHidden);
        QSignalSpy spoken(&toasts, &Toasts::announcement);
        toasts.show(key("Claude"), std::nullopt, "Claude edited “A”.", {}, "spoken");
        QCOMPARE(shown.count(), 1);
        QCOMPARE(spoken.takeFirst().first().toString(), u"spoken"_s);

        clock.advance(5750);
        QCOMPARE(toasts.items().size(), 1);
        clock.advance(250);
        QVERIFY(toasts.items().isEmpty());
        QCOMPARE(hidden.count(), 0);
        clock.advance(250);
        QCOMPARE(hidden.count(), 1);
        QCOMPARE(clock.pendingCount(), 0);
    }

    void screenReader_keepsToastsWithButtonsTwentySeconds() {
        ManualClock clock;
        Toasts toasts(clock);
        toasts.setScreenReaderCheck([] { return true; });
        int pressed = 0;
        toasts.show(key("Claude"), QUuid::createUuid(), "edited", undoButton(&pressed), "edited");
        toasts.show(key("Codex", ToastKey::Kind::connected), std::nullopt, "connected", {}, "connected");

        clock.advance(6000);
        QCOMPARE(messages(toasts), QStringList{"edited"});
        clock.advance(13750);
        QCOMPARE(toasts.items().size(), 1);
        clock.advance(250);
        QVERIFY(toasts.items().isEmpty());
    }

    void fourNotices_leaveTheThreeNewest() {
        ManualClock clock;
        Toasts toasts(clock);
        for (const QString& agent : {u"A"_s, u"B"_s, u"C"_s, u"D"_s})
            toasts.show(key(agent), std::nullopt, agent, {}, agent);
        QCOMPARE(messages(toasts), (QStringList{"D", "C", "B"}));
    }

    void sameKey_isReplacedInPlaceWithItsCountdownRestarted() {
        ManualClock clock;
        Toasts toasts(clock);
        const QUuid note = QUuid::createUuid();
        const QUuid firstEntry = QUuid::createUuid();
        const QUuid secondEntry = QUuid::createUuid();
        toasts.show(key("Claude", ToastKey::Kind::edited, note), firstEntry, "one change", {}, "");
        toasts.show(key("Codex"), std::nullopt, "other", {}, "");
        const QUuid id = toasts.items().last().id;
        clock.advance(5000);

        toasts.show(key("Claude", ToastKey::Kind::edited, note), secondEntry, "two changes", {}, "");
        QCOMPARE(messages(toasts), (QStringList{"other", "two changes"}));
        QCOMPARE(toasts.items().last().id, id);
        QCOMPARE(toasts.items().last().entryID, secondEntry);
        QCOMPARE(toasts.items().last().remaining, Toasts::lifetime);
        QVERIFY(!toasts.toastFor(key("Claude", ToastKey::Kind::edited, QUuid::createUuid())));

        clock.advance(1000);
        QCOMPARE(messages(toasts), QStringList{"two changes"});
        clock.advance(5000);
        QVERIFY(toasts.items().isEmpty());
    }

    void dismissAndActions_removeTheRightToast() {
        ManualClock clock;
        Toasts toasts(clock);
        int pressed = 0;
        const QUuid entry = QUuid::createUuid();
        toasts.show(key("A"), entry, "A", undoButton(&pressed), "");
        toasts.show(key("B"), std::nullopt, "B", {}, "");
        toasts.show(key("C"), std::nullopt, "C", {}, "");

        const Toast a = *toasts.toastFor(key("A"));
        toasts.runAction(a.id, a.actions.first().id);
        toasts.runAction(a.id, QUuid::createUuid());
        QCOMPARE(pressed, 1);

        toasts.dismiss(entry);
        QCOMPARE(messages(toasts), (QStringList{"C", "B"}));
        toasts.dismiss(toasts.items().first());
        QCOMPARE(messages(toasts), QStringList{"B"});
    }

    void toastArrivingWhileDraining_keepsThePanel() {
        ManualClock clock;
        Toasts toasts(clock);
        QSignalSpy hidden(&toasts, &Toasts::panelHidden);
        toasts.show(key("A"), std::nullopt, "A", {}, "");
        clock.advance(6000);
        QVERIFY(toasts.items().isEmpty());
        toasts.show(key("B"), std::nullopt, "B", {}, "");
        clock.advance(250);
        QCOMPARE(hidden.count(), 0);
        clock.advance(6000);
        QVERIFY(toasts.items().isEmpty());
        clock.advance(250);
        QCOMPARE(hidden.count(), 1);
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, ToastsTest)
#include "ToastsTest.moc"
