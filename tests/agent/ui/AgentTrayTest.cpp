#include "AgentTray.h"
#include "ActivityStickies.h"
#include "AgentIcons.h"
#include "GroupSettings.h"
#include "ManualClock.h"
#include "Provenance.h"
#include "ToastPanel.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QtTest>

using namespace Dovrin;
using namespace Dovrin::Agent;

namespace {

struct Fixture {
    QTemporaryDir folder;
    QString settingsFile = folder.filePath(QStringLiteral("settings.json"));
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
        QCOMPARE(f.tray.accessItem()->text(), QStringLiteral("AI Access"));
        QVERIFY(!f.tray.undoItem()->isVisible());
        QVERIFY(!f.tray.infoItem()->isVisible());
        QVERIFY(f.accessChoice("Read && Write")->isChecked());

        const QUuid batch = QUuid::createUuid();
        QVERIFY(f.stickies.createBatchForAgent({{"one", {}}, {"two", {}}}, batch, "Codex"));
        f.activity.callStarted("Codex");
        f.activity.recordCreated("Codex", 2, batch, false);
        f.tray.refreshMenu();
        QVERIFY(f.tray.undoItem()->isVisible());
        QCOMPARE(f.tray.undoItem()->text(), QStringLiteral("Undo Codex: Add 2 Stickies"));
        QCOMPARE(f.tray.infoItem()->text(), QStringLiteral("Codex used your notes · just now"));

        f.tray.undoItem()->trigger();
        f.tray.refreshMenu();
        QVERIFY(!f.tray.undoItem()->isVisible());
        QCOMPARE(f.stickies.store().list(Store::NoteStore::Scope::active)->size(), 0);

        f.accessChoice("Off")->trigger();
        QCOMPARE(Bridge::GroupSettings::readFile(f.settingsFile).aiAccess, Bridge::AIAccess::off);
        QVERIFY(f.accessChoice("Off")->isChecked());
        QVERIFY(!f.accessChoice("Read && Write")->isChecked());
        QCOMPARE(f.tray.infoItem()->text(), QStringLiteral("AI access is off"));
    }

    void icon_showsActivityUntilThreeSecondsAfterTheLastOfOverlappingCalls() {
        Fixture f;
        const qint64 normal = f.trayIcon.icon().cacheKey();
        f.activity.callStarted("Claude");
        f.activity.callStarted("Claude");
        QVERIFY(f.trayIcon.icon().cacheKey() != normal);
        QCOMPARE(f.trayIcon.toolTip(), QStringLiteral("Dovrin, AI is using your notes"));
        f.activity.callEnded("Claude");
        f.clock.advance(2000);
        f.activity.callEnded("Claude");
        f.clock.advance(2999);
        QVERIFY(f.trayIcon.icon().cacheKey() != normal);
        f.clock.advance(1);
        QCOMPARE(f.trayIcon.icon().cacheKey(), normal);
        QCOMPARE(f.trayIcon.toolTip(), QStringLiteral("Dovrin"));
    }

    void toastUndoButton_undoesFromThePanel() {
        Fixture f;
        const Store::Note note = f.stickies.userNote("Plan");
        const QUuid batch = QUuid::createUuid();
        QVERIFY(f.stickies.createBatchForAgent({{"new", {}}}, batch, "Claude"));
        f.activity.recordCreated("Claude", 1, batch, true);
        QCOMPARE(f.activity.toasts().items().first().message, QStringLiteral("Claude added a sticky."));
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

QTEST_MAIN(AgentTrayTest)
#include "AgentTrayTest.moc"
