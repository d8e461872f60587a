#include "app/shell/TrayMenu.h"
#include "app/agent/AgentActivity.h"
#include "app/agent/Provenance.h"
#include "app/agent/ui/AgentTray.h"
#include "app/shell/LoginItem.h"
#include "app/stickies/AgentStickies.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"
#include "tests/support/TestMain.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

using namespace Dovrin;

class TrayMenuTest final : public QObject {
    Q_OBJECT

private slots:
    void recentSection_listsTheLastEightAndMarksClosedNotes() {
        QTemporaryDir folder;
        auto store = Store::NoteStore::open(folder.filePath("Dovrin.sqlite")).value();
        Agent::Provenance provenance;
        Stickies::StickyManager manager(*store, provenance);
        Stickies::AgentStickies stickies(manager, provenance);
        Agent::AgentActivity activity(stickies, *store);
        Agent::AgentTray agentTray(activity, nullptr);
        Shell::TrayMenu tray(manager, agentTray, {[] {}, [] {}, [] {}, [] {}, {}, {}, [] {}, [] {}});

        // What the menu shows as it opens.
        const auto visibleTexts = [&] {
            emit tray.menu()->aboutToShow();
            QStringList texts;
            for (QAction* action : tray.menu()->actions())
                if (action->isVisible())
                    texts.append(action->text().isEmpty() ? QString("—") : action->text());
            return texts;
        };
        const auto item = [&](const QString& text) -> QAction* {
            for (QAction* action : tray.menu()->actions())
                if (action->text() == text)
                    return action;
            return nullptr;
        };
        QCOMPARE(visibleTexts().mid(0, 4),
                 (QStringList{"New Sticky", "Search Notes…", "—", "Hide All Stickies"}));

        QList<Store::Note> notes;
        for (int i = 0; i < 10; ++i) {
            notes.append(store
                             ->create({{QString("# Note %1").arg(i), Store::StickyColor::yellow, {}, {}}},
                                      "user", {}, QDateTime::currentDateTimeUtc().addSecs(i))
                             ->first());
        }
        QVERIFY(store->close(notes.last().id));
        QCOMPARE(visibleTexts().mid(3, 11),
                 (QStringList{"Recent", "Note 9\tClosed", "Note 8", "Note 7", "Note 6", "Note 5", "Note 4",
                              "Note 3", "Note 2", "—", "Hide All Stickies"}));

        // Choosing the closed note opens its sticky again.
        item("Note 9\tClosed")->trigger();
        QVERIFY(manager.sticky(notes.last().id));
        QVERIFY(store->note(notes.last().id).value()->isOpen);
        item("Hide All Stickies")->trigger();
        QTRY_VERIFY(visibleTexts().contains("Show All Stickies"));
    }

    void loginItem_startsDovrinInTheBackground() {
        const QString program = "/opt/my \"apps\"/dovrin";
        QVERIFY(Shell::LoginItem::enable(program));
        QVERIFY(Shell::LoginItem::isEnabled());
        QFile entry(Shell::LoginItem::entryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains("Exec=\"/opt/my \\\"apps\\\"/dovrin\" --background\n"));
        QVERIFY(Shell::LoginItem::disable());
        QVERIFY(!Shell::LoginItem::isEnabled());
    }
};

DOVRIN_TEST_MAIN(QApplication, TrayMenuTest)
#include "TrayMenuTest.moc"
