#include "app/agent/AgentActivity.h"
#include "app/agent/Provenance.h"
#include "shared/bridge/SharedSettings.h"
#include "tests/agent/ActivityStickies.h"
#include "tests/support/ManualClock.h"
#include "tests/support/TestMain.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace Dovrin;
using namespace Dovrin::Agent;
using Change = AgentActivity::Change;

namespace {

// Everything one run of the app would have, over one database and one settings file.
struct Run {
    explicit Run(ActivityStickies& stickies, const QString& settingsFile)
        : activity(stickies, stickies.store(), provenance, clock, settingsFile) {}

    ManualClock clock;
    Provenance provenance;
    AgentActivity activity;
};

struct Fixture {
    QTemporaryDir folder;
    ActivityStickies stickies;
    QString settingsFile = folder.filePath(u"settings.json"_s);
    std::unique_ptr<Run> run = std::make_unique<Run>(stickies, settingsFile);

    AgentActivity& activity() { return run->activity; }
    ManualClock& clock() { return run->clock; }

    // What update_note and set_todo do around the activity: write as the agent, keep the snapshot (joined
    // while the edited toast shows), label the note, record the change.
    void agentEdit(const QString& agent, const QUuid& id, const QString& markdown, Change change) {
        const Store::Note before = stickies.reload(id);
        const bool join = activity().joinsEdit(agent, id);
        const auto action = change == Change::checked ? Store::AgentLabel::Action::checkedOff
                                                      : Store::AgentLabel::Action::edited;
        const auto written = stickies.store().updateMarkdown(id, markdown, clock().now(), agent, action);
        QVERIFY(written && written->has_value());
        QVERIFY(stickies.store().saveSnapshot(before, (*written)->rev, join).ok());
        run->provenance.note(**written);
        activity().recordEdited(id, change, agent);
    }

    QJsonObject stored() const {
        QFile file(settingsFile);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    QDateTime storedUse(const QString& agent) const {
        return Bridge::SharedSettings::readFile(settingsFile).connectedAIs.value(agent);
    }

    // As another process would: replace the file whole.
    void writeExternally(const QJsonObject& object) const {
        QSaveFile file(settingsFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(object).toJson());
        QVERIFY(file.commit());
    }

    QStringList toastMessages() {
        QStringList texts;
        for (const Toast& toast : activity().toasts().items())
            texts.append(toast.message);
        return texts;
    }
};

} // namespace

class AgentActivityTest : public QObject {
    Q_OBJECT

private slots:
    void twoQuickEdits_joinIntoOneEntryWhoseUndoRestoresTheFirstText() {
        Fixture f;
        const Store::Note note = f.stickies.userNote("# List\n- [ ] milk\n- [ ] eggs");
        f.stickies.open.insert(note.id);
        f.agentEdit("Claude", note.id, "# List\n- [x] milk\n- [ ] eggs", Change::checked);
        f.clock().advance(2000);
        f.agentEdit("Claude", note.id, "# List\n- [x] milk\n- [x] eggs", Change::checked);

        QCOMPARE(f.activity().undoable().size(), 1);
        const auto& edited = std::get<AgentActivity::Edited>(f.activity().undoable().first().summary);
        QCOMPARE(edited.changes, (QList<Change>{Change::checked, Change::checked}));
        QCOMPARE(f.toastMessages(), QStringList{"Claude checked off 2 items in “List”."});
        QCOMPARE(f.activity().refreshMenu().undoTitle, u"Undo Claude: Edit “List”"_s);

        const Toast toast = f.activity().toasts().items().first();
        QCOMPARE(toast.actions.size(), 1);
        f.activity().toasts().runAction(toast.id, toast.actions.first().id);
        QCOMPARE(f.stickies.reload(note.id).markdown, note.markdown);
        QVERIFY(f.activity().undoable().isEmpty());
        QVERIFY(f.activity().toasts().items().isEmpty());
    }

    void editAfterTheToastWent_startsANewEntry() {
        Fixture f;
        const Store::Note note = f.stickies.userNote("Plan");
        f.agentEdit("Claude", note.id, "Plan\nmore", Change::appended);
        QCOMPARE(f.toastMessages(), QStringList{"Claude edited “Plan”."});
        QCOMPARE(f.activity().toasts().items().first().actions.first().title, u"Show"_s);
        f.clock().advance(7000);
        f.agentEdit("Claude", note.id, "Plan\nmore\nand more", Change::appended);
        QCOMPARE(f.activity().undoable().size(), 2);

        f.activity().undo(f.activity().undoable().last().id);
        QCOMPARE(f.stickies.reload(note.id).markdown, u"Plan\nmore"_s);
        QCOMPARE(f.stickies.reload(note.id).agentLabel,
                 (Store::AgentLabel{"Claude", Store::AgentLabel::Action::edited}));
        QCOMPARE(f.run->provenance.labels().value(note.id).label.agent, u"Claude"_s);
    }

    void twentyFirstEntry_pushesOutTheOldest() {
        Fixture f;
        QList<QUuid> batches;
        for (int i = 0; i < 21; ++i) {
            batches.append(QUuid::createUuid());
            f.activity().recordCreated(u"Agent %1"_s.arg(i), 1, batches.last(), false);
        }
        QCOMPARE(f.activity().undoable().size(), AgentActivity::maxUndoable);
        QCOMPARE(f.activity().undoable().first().agent, u"Agent 1"_s);
        QCOMPARE(f.activity().undoable().last().agent, u"Agent 20"_s);
    }

    void denials_showOncePerAgentAndKindInARun() {
        Fixture f;
        for (int i = 0; i < 3; ++i)
            f.activity().denied("Claude", false);
        QCOMPARE(f.toastMessages(), QStringList{"Claude tried to use your notes. AI access is off."});
        f.clock().advance(7000);
        f.activity().denied("Claude", true);
        f.activity().denied("Claude", true);
        f.activity().denied("Claude", false);
        QCOMPARE(f.toastMessages(), QStringList{"Claude wanted to change a note. AI access is Read only."});
    }

    void connectedToast_onlyForAnAgentNeverSeenBeforeAcrossRuns() {
        Fixture f;
        f.activity().callStarted("Claude");
        f.activity().callEnded("Claude");
        f.activity().callStarted("Claude");
        f.activity().callEnded("Claude");
        QCOMPARE(f.toastMessages(), QStringList{"Claude is connected to Dovrin."});
        // Quitting within the save delay still writes the use.
        const QDateTime used = f.clock().now();
        f.run.reset();
        QCOMPARE(f.storedUse("Claude"), used);

        f.run = std::make_unique<Run>(f.stickies, f.settingsFile);
        f.activity().callStarted("Claude");
        QVERIFY(f.toastMessages().isEmpty());
        f.activity().callStarted("Codex");
        QCOMPARE(f.toastMessages(), QStringList{"Codex is connected to Dovrin."});
    }

    void burstOfCalls_writesTheSettingsFileOnceAfterTheDelay() {
        Fixture f;
        const QDateTime start = f.clock().now();
        for (int i = 0; i < 10; ++i) {
            f.activity().callStarted("Claude");
            f.clock().advance(100);
            f.activity().callEnded("Claude");
            QCOMPARE(f.activity().access(), Bridge::AIAccess::readWrite);
        }
        f.clock().advance(AgentActivity::saveDelayMs - 1000 - 1);
        QVERIFY(!QFile::exists(f.settingsFile));
        f.clock().advance(1);
        QCOMPARE(f.storedUse("Claude"), start.addMSecs(1000));

        const QJsonObject first = f.stored();
        f.activity().callStarted("Claude");
        f.activity().callEnded("Claude");
        f.clock().advance(AgentActivity::saveDelayMs - 1);
        QCOMPARE(f.stored(), first);
        f.clock().advance(1);
        QCOMPARE(f.storedUse("Claude"), start.addMSecs(AgentActivity::saveDelayMs));
    }

    void keysAnotherProcessChangedBetweenOurWrites_survive() {
        Fixture f;
        f.activity().callStarted("Claude");
        f.clock().advance(AgentActivity::saveDelayMs);
        const QDateTime elsewhere = f.clock().now().addDays(-1);
        QJsonObject object = f.stored();
        object["aiAccess"] = "off";
        object["letAIOpenDovrin"] = false;
        object["theme"] = "dark";
        object["connectedAIs"] = QJsonObject{{"Claude", "2025-01-01T00:00:00.000Z"},
                                             {"Cursor", elsewhere.toString(Qt::ISODateWithMs)}};
        f.activity().callEnded("Claude");
        f.writeExternally(object);
        f.activity().callStarted("Codex");
        f.clock().advance(AgentActivity::saveDelayMs);
        const QJsonObject stored = f.stored();
        QCOMPARE(stored.value("aiAccess"), QJsonValue("off"));
        QCOMPARE(stored.value("letAIOpenDovrin"), QJsonValue(false));
        QCOMPARE(stored.value("theme"), QJsonValue("dark"));
        QCOMPARE(f.storedUse("Claude"), f.clock().now().addMSecs(-AgentActivity::saveDelayMs));
        QCOMPARE(f.storedUse("Cursor"), elsewhere);
        QVERIFY(f.storedUse("Codex").isValid());
        // The gate sees the other process's access level without a restart.
        QCOMPARE(f.activity().access(), Bridge::AIAccess::off);

        f.activity().setAccess(Bridge::AIAccess::readOnly);
        QCOMPARE(f.stored().value("letAIOpenDovrin"), QJsonValue(false));
        QCOMPARE(f.stored().value("theme"), QJsonValue("dark"));
    }

    void userEdit_takesTheUndoOutOfTheMenu() {
        Fixture f;
        const Store::Note note = f.stickies.userNote("Draft");
        f.agentEdit("Claude", note.id, "Draft, better", Change::changed);
        QVERIFY(f.activity().refreshMenu().undoEntry);

        f.stickies.store().onAgentLabelCleared = [&](const QUuid& id) { f.activity().userEdited(id); };
        QVERIFY(f.stickies.store().updateMarkdown(note.id, "Draft, mine", f.clock().now()).ok());
        QVERIFY(!f.activity().refreshMenu().undoEntry);
        QVERIFY(f.activity().toasts().items().isEmpty());
    }

    void undo_ofCreatedEditedAndDeleted_clearsLabelsAndTheMenu() {
        Fixture f;
        const Store::Note kept = f.stickies.userNote("# Keep\nthis");
        const QUuid batch = QUuid::createUuid();
        QVERIFY(f.stickies.createBatchForAgent({{"one", {}}, {"two", {}}}, batch, "Codex"));
        f.activity().recordCreated("Codex", 2, batch, true);
        QCOMPARE(f.toastMessages(), QStringList{"Codex added 2 stickies."});
        f.activity().undo(f.activity().undoable().last().id);
        QCOMPARE(f.stickies.store().list(Store::NoteStore::Scope::active)->size(), 1);

        f.agentEdit("Codex", kept.id, "# Keep\nthat", Change::changed);
        f.activity().undo(f.activity().undoable().last().id);
        QCOMPARE(f.stickies.reload(kept.id).markdown, kept.markdown);
        QVERIFY(!f.run->provenance.labels().contains(kept.id));

        const Store::Note beforeDelete = f.stickies.reload(kept.id);
        f.stickies.deleteNotesForAgent({kept.id}, "Codex", [](const QList<QUuid>&) {});
        f.activity().recordDeleted("Codex", kept.id, beforeDelete.title());
        QCOMPARE(f.activity().refreshMenu().undoTitle, u"Undo Codex: Delete “Keep”"_s);
        f.activity().undo(f.activity().undoable().last().id);
        QCOMPARE(f.stickies.reload(kept.id), beforeDelete);
        QVERIFY(!f.activity().refreshMenu().undoEntry);
    }

    void undoOfAnEditToANoteTheSameAgentCreated_restoresItsAddedLabel() {
        Fixture f;
        const auto batch = f.stickies.createBatchForAgent({{"Idea", {}}}, QUuid::createUuid(), "Claude");
        QVERIFY(batch);
        const QUuid id = batch->notes.first().id;
        f.agentEdit("Claude", id, "Idea, grown", Change::changed);
        f.activity().undo(f.activity().undoable().last().id);
        const Store::AgentLabel added{"Claude", Store::AgentLabel::Action::added};
        QCOMPARE(f.stickies.reload(id).agentLabel, added);
        QCOMPARE(f.run->provenance.label(id)->label, added);
    }

    void failedUndoThroughTheSticky_changesNothingAndSaysSo() {
        Fixture f;
        const Store::Note note = f.stickies.userNote("Old");
        f.stickies.open.insert(note.id);
        f.agentEdit("Claude", note.id, "New", Change::changed);
        f.stickies.editorConflicts = true;
        f.activity().undo(f.activity().undoable().last().id);
        QCOMPARE(f.stickies.reload(note.id).markdown, u"New"_s);
        QCOMPARE(f.toastMessages(), QStringList{"Dovrin couldn't save the note. Try again."});
    }

    void infoLine_namesTheLastAgentAndWhen() {
        Fixture f;
        QVERIFY(!f.activity().refreshMenu().info);
        f.activity().setAccess(Bridge::AIAccess::readOnly);
        f.activity().callStarted("Cursor");
        f.clock().advance(2 * 3600 * 1000);
        QCOMPARE(f.activity().refreshMenu().info, u"Cursor used your notes · 2 hr. ago"_s);
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, AgentActivityTest)
#include "AgentActivityTest.moc"
