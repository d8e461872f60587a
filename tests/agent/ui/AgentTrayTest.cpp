#include "app/agent/ui/AgentTray.h"
#include "app/agent/Provenance.h"
#include "app/agent/ui/AgentIcons.h"
#include "app/agent/ui/ToastPanel.h"
#include "shared/bridge/SharedSettings.h"
#include "tests/agent/ActivityStickies.h"
#include "tests/support/ManualClock.h"
#include "tests/support/TestMain.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace Dovrin;
using namespace Dovrin::Agent;

namespace {

struct Fixture {
    QTemporaryDir folder;
    QString settingsFile = folder.filePath(u"settings.json"_s);
    ActivityStickies stickies;
    ManualClock clock;
    Provenance provenance;
    AgentActivity activity{stickies, stickies.store(), provenance, clock, settingsFile};
    QSystemTrayIcon trayIcon{QIcon(QPixmap(16, 16))};
    AgentTray tray{activity, &trayIcon};

    QAction* accessChoice(const QString& title) {
        for (QAction* item : tray.accessItem()->menu()->actions()) {
            if (item->text() == title)
                return item;
        }
        return nullptr;
    }
};

} // namespace

class AgentTrayTest : public QObject {
    Q_OBJECT

private slots:
    void menuItems_showTheLatestUndoAndTheAccessLevel() {
        Fixture f;
        QCOMPARE(f.tray.menuItems().size(), 3);
        QAction* undo = f.tray.menuItems().at(0);
        QAction* info = f.tray.menuItems().at(1);
        QCOMPARE(f.tray.accessItem()->text(), u"AI Access"_s);
        QVERIFY(!undo->isVisible());
        QVERIFY(!info->isVisible());
        QVERIFY(f.accessChoice("Read && Write")->isChecked());

        const QUuid batch = QUuid::createUuid();
        QVERIFY(f.stickies.createBatchForAgent({{"one", {}}, {"two", {}}}, batch, "Codex"));
        f.activity.callStarted("Codex");
        f.activity.recordCreated("Codex", 2, batch, false);
        f.tray.refreshMenu();
        QVERIFY(undo->isVisible());
        QCOMPARE(undo->text(), u"Undo Codex: Add 2 Stickies"_s);
        QCOMPARE(info->text(), u"Codex used your notes · just now"_s);

        undo->trigger();
        f.tray.refreshMenu();
        QVERIFY(!undo->isVisible());
        QCOMPARE(f.stickies.store().list(Store::NoteStore::Scope::active)->size(), 0);

        f.accessChoice("Off")->trigger();
        QCOMPARE(Bridge::SharedSettings::readFile(f.settingsFile).aiAccess, Bridge::AIAccess::off);
        QVERIFY(f.accessChoice("Off")->isChecked());
        QVERIFY(!f.accessChoice("Read && Write")->isChecked());
        QCOMPARE(info->text(), u"AI access is off"_s);
    }

    void icon_showsActivityUntilThreeSecondsAfterTheLastOfOverlappingCalls() {
        Fixture f;
        const qint64 normal = f.trayIcon.icon().cacheKey();
        f.activity.callStarted("Claude");
        f.activity.callStarted("Claude");
        QVERIFY(f.trayIcon.icon().cacheKey() != normal);
        QCOMPARE(f.trayIcon.toolTip(), u"Dovrin, AI is using your notes"_s);
        f.activity.callEnded("Claude");
        f.clock.advance(2000);
        f.activity.callEnded("Claude");
        f.clock.advance(2999);
        QVERIFY(f.trayIcon.icon().cacheKey() != normal);
        f.clock.advance(1);
        QCOMPARE(f.trayIcon.icon().cacheKey(), normal);
        QCOMPARE(f.trayIcon.toolTip(), u"Dovrin"_s);
    }

    void toastUndoButton_undoesFromThePanel() {
        Fixture f;
        const Store::Note note = f.stickies.userNote("Plan");
        const QUuid batch = QUuid::createUuid();
        QVERIFY(f.stickies.createBatchForAgent({{"new", {}}}, batch, "Claude"));
        f.activity.recordCreated("Claude", 1, batch, true);
        QCOMPARE(f.activity.toasts().items().first().message, u"Claude added a sticky."_s);
        QVERIFY(f.tray.panel().isVisible());
        QVERIFY(!AgentIcons::sparkle(Qt::black).isNull());

        QPushButton* undo = nullptr;
        QPushButton* show = nullptr;
        for (QPushButton* button : f.tray.panel().findChildren<QPushButton*>()) {
            if (button->text() == "Undo")
                undo = button;
            if (button->text() == "Show")
                show = button;
        }
        QVERIFY(undo && show);
        show->click();
        QCOMPARE(f.stickies.parkedShown, 1);
        undo->click();
        const auto active = f.stickies.store().list(Store::NoteStore::Scope::active);
        QCOMPARE(active->size(), 1);
        QCOMPARE(active->first().id, note.id);
        QVERIFY(f.activity.toasts().items().isEmpty());
    }
};

DOVRIN_TEST_MAIN(QApplication, AgentTrayTest)
#include "AgentTrayTest.moc"
