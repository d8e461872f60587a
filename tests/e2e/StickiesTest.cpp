#include "app/stickies/StickyController.h"
#include "app/stickies/StickyPanel.h"
#include "app/stickies/StickyViewProvenanceLabel.h"
#include "tests/e2e/InProcessApp.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QtTest>

using namespace Dovrin;
using namespace Dovrin::E2e;

namespace {

QJsonObject threeNotes() {
    return {{"notes", QJsonArray{QJsonObject{{"markdown", "# Plan\n- [ ] one"}},
                                 QJsonObject{{"markdown", "# Ideas"}, {"color", "blue"}},
                                 QJsonObject{{"markdown", "# Later"}}}}};
}

QList<QUuid> createdIDs(const QJsonObject& answer) {
    QList<QUuid> ids;
    for (const QJsonValue note : answer["notes"].toArray())
        ids.append(QUuid::fromString(note["id"].toString()));
    return ids;
}

} // namespace

class StickiesTest final : public QObject {
    Q_OBJECT

private slots:
    void aiBatch_showsStaggeredStickiesWithTheirLabel_andDeleteClosesOne() {
        InProcessApp app;
        QList<qint64> openedAtMs;
        QElapsedTimer clock;
        clock.start();
        connect(&app.manager, &Stickies::StickyManager::stickiesChanged, this,
                [&] { openedAtMs.append(clock.elapsed()); });
        Mcp mcp(app.home, "claude", "Claude");
        const QList<QUuid> ids = createdIDs(mcp.callJson("create_notes", threeNotes()));
        QCOMPARE(ids.size(), 3);
        QTRY_COMPARE(app.manager.stickies().size(), 3);
        // One after another, the i-th no sooner than i × 50 ms after the AI asked, so the eye can follow.
        QCOMPARE(openedAtMs.size(), 3);
        QVERIFY2(openedAtMs.at(1) >= 50 && openedAtMs.at(2) >= 100,
                 qPrintable(QString::number(openedAtMs.at(2))));
        for (const QUuid& id : ids) {
            Stickies::StickyController* sticky = app.manager.sticky(id);
            QVERIFY(sticky && sticky->panel()->isVisible());
            const auto* label = sticky->panel()->findChild<Stickies::StickyViewProvenanceLabel*>();
            QVERIFY(label && label->isVisible());
            QCOMPARE(label->text(), QString("Added by Claude"));
        }

        QTRY_VERIFY_WITH_TIMEOUT(app.manager.sticky(ids.at(1))->isEditorReady(), 15000);
        QVERIFY(!mcp.call("delete_note", {{"note", Store::idText(ids.at(1))}}).isError);
        QVERIFY(!app.manager.sticky(ids.at(1)));
        QCOMPARE(app.manager.stickies().size(), 2);
        QCOMPARE(app.note(ids.at(1)).deletedBy, QString("Claude"));
    }

    void realApp_opensStickiesTakesLinksFromASecondStartAndSavesOnQuit() {
        Home home;
        auto store = Store::NoteStore::open(home.database()).value();
        QVERIFY(store->create({{"Left open", Store::StickyColor::pink, {80, 200, 260, 260}, {}}}, "user", {},
                              QDateTime::currentDateTimeUtc()));
        const Store::Note closed = store
                                       ->create({{"Closed one", Store::StickyColor::gray, {}, {}}}, "user",
                                                {}, QDateTime::currentDateTimeUtc())
                                       ->first();
        QVERIFY(store->close(closed.id));

        App app(home);
        QVERIFY(app.start());
        QVERIFY2(app.waitForOutput("restored 1 open stickies"), qPrintable(app.output()));
        Mcp mcp(home, "claude", "Claude");
        const QList<QUuid> ids = createdIDs(mcp.callJson("create_notes", threeNotes()));
        QVERIFY2(app.waitForOutput("ready note=", 4), qPrintable(app.output()));
        QVERIFY(app.output().contains("parked=false"));
        QVERIFY(!mcp.call("delete_note", {{"note", Store::idText(ids.first())}}).isError);
        QVERIFY(app.output().contains("deleted note=" + Store::idText(ids.first())));

        // A second start hands its link to the running app and ends.
        QProcess second;
        second.setProcessEnvironment(home.environment());
        second.start(binary("dovrin"), {closed.link()});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY2(app.waitForOutput("ready note=" + closed.idText()), qPrintable(app.output()));
        QVERIFY(store->note(closed.id).value()->isOpen);

        QVERIFY(app.terminate());
        QVERIFY(app.output().contains("flushed 4 stickies before quit"));
        // Quitting leaves the notes open for the next start.
        QCOMPARE(store->list(Store::NoteStore::Scope::open).value().size(), 4);
    }
};

DOVRIN_EDITOR_TEST_MAIN(StickiesTest)
#include "StickiesTest.moc"
