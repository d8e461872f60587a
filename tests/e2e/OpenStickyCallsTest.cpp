#include "app/stickies/EditorPage.h"
#include "app/stickies/StickyController.h"
#include "tests/e2e/InProcessApp.h"

#include <QJsonDocument>
#include <QRegularExpression>
#include <QtTest>

#include <memory>
#include <sqlite3.h>
#include <thread>

using namespace Qt::StringLiterals;

using namespace Dovrin;
using namespace Dovrin::E2e;

namespace {

const QString unsavedMessage = u"Dovrin couldn't save the note. Try again."_s;

// One tool call from a client thread, so that this thread can go on turning the app's event loop.
class PendingCall final {
public:
    PendingCall(const QString& socket, const QString& tool, const QJsonObject& arguments) {
        const QByteArray request = QJsonDocument(QJsonObject{{"tool", tool},
                                                             {"client", QJsonObject{{"name", "claude"}}},
                                                             {"arguments", arguments}})
                                       .toJson();
        m_thread = std::thread([this, socket, request] {
            m_response = rawExchange(socket, request);
            m_done = true;
        });
    }
    ~PendingCall() { m_thread.join(); }
    PendingCall(const PendingCall&) = delete;
    PendingCall& operator=(const PendingCall&) = delete;

    bool isDone() const { return m_done; }
    // The answer's error object; empty when the call succeeded or got no answer at all.
    QJsonObject waitForError() {
        if (!QTest::qWaitFor([this] { return isDone(); }, 20000) || !m_response || !m_response->isError)
            return {};
        return parsed(m_response->text);
    }

private:
    std::thread m_thread;
    std::atomic<bool> m_done = false;
    std::optional<Bridge::BridgeResponse> m_response;
};

Stickies::StickyController* openReady(InProcessApp& app, const Store::Note& note) {
    app.manager.open(note, false, false, 0);
    Stickies::StickyController* sticky = app.manager.sticky(note.id);
    if (!QTest::qWaitFor([sticky] { return sticky->isEditorReady(); }, 15000))
        qFatal("the editor did not become ready");
    return sticky;
}

// An input method starts composing: the page holds an AI's merge until the composition ends (2 s at most).
void startComposing(Stickies::StickyController& sticky) {
    sticky.page()->call(u"document.querySelector('.ProseMirror').dispatchEvent(new CompositionEvent("
                        "'compositionstart', { bubbles: true, data: '' }));"_s);
}

// Starts an update_note that waits on the sticky's page until the sticky goes. The call is known to have
// started when the tray icon turns to activity, so the icon must show normal (no call in flight) before.
std::unique_ptr<PendingCall> updateWaitingOnPage(InProcessApp& app, Stickies::StickyController& sticky) {
    startComposing(sticky);
    QSignalSpy active(&app.activity(), &Agent::AgentActivity::activeChanged);
    auto call = std::make_unique<PendingCall>(app.home.socket(), "update_note",
                                              QJsonObject{{"note", sticky.note().idText()},
                                                          {"op", "replace_all"},
                                                          {"markdown", "from the AI"},
                                                          {"expected_rev", sticky.note().rev}});
    if (!QTest::qWaitFor([&active] { return !active.isEmpty(); }, 10000))
        qFatal("the call did not start");
    return call;
}

// A note the user wrote a minute ago, so that an AI may delete it even while its sticky is key.
Store::Note userNote(InProcessApp& app, const QString& markdown) {
    return app.store
        ->create({{markdown, Store::StickyColor::yellow, {100, 200, 260, 300}, {}}}, "user", std::nullopt,
                 QDateTime::currentDateTimeUtc().addSecs(-60))
        ->first();
}

// Changes the database behind the app's back, through a connection of its own: a trigger makes it refuse
// one kind of change from now on, as a full disk would.
void alterDatabase(const InProcessApp& app, const char* sql) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(qPrintable(app.home.database()), &db), SQLITE_OK);
    const int result = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QCOMPARE(result, SQLITE_OK);
}

} // namespace

class OpenStickyCallsTest final : public QObject {
    Q_OBJECT

private slots:
    void stickyGoingWhileACallWaitsOnIt_answersTheCall() {
        InProcessApp app;
        const Store::Note closed = userNote(app, "closed by the user");
        const Store::Note deleted = userNote(app, "deleted by the user");
        QSignalSpy active(&app.activity(), &Agent::AgentActivity::activeChanged);

        auto call = updateWaitingOnPage(app, *openReady(app, closed));
        app.manager.sticky(closed.id)->close();
        QCOMPARE(call->waitForError(), (QJsonObject{{"error", "unavailable"}, {"message", unsavedMessage}}));
        QTRY_VERIFY_WITH_TIMEOUT(!active.last().first().toBool(), 10000);

        call = updateWaitingOnPage(app, *openReady(app, deleted));
        app.manager.sticky(deleted.id)->requestDelete();
        QCOMPARE(call->waitForError(), (QJsonObject{{"error", "unavailable"}, {"message", unsavedMessage}}));
        QCOMPARE(app.note(deleted.id).markdown, deleted.markdown);
        QTRY_VERIFY_WITH_TIMEOUT(!active.last().first().toBool(), 10000);

        // The app goes on serving.
        Mcp mcp(app.home, "claude");
        QVERIFY(!mcp.call("read_note", {{"note", closed.idText()}}).isError);
    }

    void quitWithACallInFlight_answersTheClient() {
        auto app = std::make_unique<InProcessApp>();
        auto call = updateWaitingOnPage(*app, *openReady(*app, userNote(*app, "open")));
        app.reset();
        const QJsonObject error = call->waitForError();
        QCOMPARE(error["error"], QJsonValue("unavailable"));
        QVERIFY(error["message"].toString().startsWith("Dovrin failed: the app quit"));
    }

    void undoThroughAnOpenSticky_leavesNoEditor() {
        InProcessApp app;
        const Store::Note note = userNote(app, "mine");
        openReady(app, note);
        Mcp mcp(app.home, "claude");
        QVERIFY(
            !mcp.call(
                    "update_note",
                    {{"note", note.idText()}, {"op", "append"}, {"markdown", "theirs"}, {"expected_rev", 1}})
                 .isError);
        QVERIFY(app.note(note.id).agentLabel);
        app.activity().undo(app.lastEntry());
        QTRY_COMPARE(app.note(note.id).markdown, QString("mine"));
        QVERIFY(!app.note(note.id).agentLabel);
        QVERIFY(!app.provenance.labels().contains(note.id));
    }

    void writeThatChangesNothing_keepsRevUndoAndToasts() {
        InProcessApp app;
        const Store::Note closed = userNote(app, "closed");
        const Store::Note open = userNote(app, "open");
        openReady(app, open);
        Mcp mcp(app.home, "claude");
        QVERIFY(!mcp.call("update_note", {{"note", closed.idText()},
                                          {"op", "replace_all"},
                                          {"markdown", "changed"},
                                          {"expected_rev", 1}})
                     .isError);
        const auto snapshot = app.store->snapshot(closed.id).value();
        const qsizetype toasts = app.activity().toasts().items().size();
        const qsizetype undoable = app.activity().undoable().size();

        for (const Store::Note& note : {app.note(closed.id), app.note(open.id)}) {
            const QJsonObject answer = mcp.callJson("update_note", {{"note", note.idText()},
                                                                    {"op", "replace_all"},
                                                                    {"markdown", note.markdown},
                                                                    {"expected_rev", note.rev}});
            QCOMPARE(answer["rev"].toInteger(), note.rev);
            QCOMPARE(app.note(note.id).rev, note.rev);
        }
        const auto after = app.store->snapshot(closed.id).value();
        QVERIFY(snapshot && after);
        QCOMPARE(after->markdown, snapshot->markdown);
        QCOMPARE(app.activity().toasts().items().size(), toasts);
        QCOMPARE(app.activity().undoable().size(), undoable);
    }

    void failedWrites_answerUnavailableAndKeepTheSticky() {
        InProcessApp app;
        const Store::Note closed = userNote(app, "closed");
        const Store::Note open = userNote(app, "open");
        Stickies::StickyController* sticky = openReady(app, open);
        Mcp mcp(app.home, "claude");
        const QJsonObject unsaved{{"error", "unavailable"}, {"message", unsavedMessage}};
        QVERIFY(!mcp.call("list_notes", {}).isError);
        const qsizetype toasts = app.activity().toasts().items().size();

        alterDatabase(app, "CREATE TRIGGER no_delete BEFORE UPDATE OF deleted_at ON note "
                           "BEGIN SELECT RAISE(ABORT, 'disk is full'); END");
        for (const Store::Note& note : {closed, open})
            QCOMPARE(parsed(mcp.call("delete_note", {{"note", note.idText()}}).text), unsaved);
        QVERIFY(app.activity().undoable().isEmpty());
        QCOMPARE(app.activity().toasts().items().size(), toasts);
        QCOMPARE(app.manager.sticky(open.id), sticky);

        alterDatabase(app, "CREATE TRIGGER no_write BEFORE UPDATE OF markdown ON note "
                           "BEGIN SELECT RAISE(ABORT, 'disk is full'); END");
        QCOMPARE(parsed(mcp.call("update_note", {{"note", open.idText()},
                                                 {"op", "append"},
                                                 {"markdown", "more"},
                                                 {"expected_rev", 1}})
                            .text),
                 unsaved);

        // The user can still delete the sticky whose deletion failed, once the database takes it.
        QSignalSpy asked(sticky, &Stickies::StickyController::deleteRequested);
        sticky->requestDelete();
        QTRY_COMPARE(asked.count(), 1);
        QCOMPARE(app.manager.sticky(open.id), sticky);
        alterDatabase(app, "DROP TRIGGER no_delete");
        sticky->requestDelete();
        QTRY_VERIFY(!app.manager.sticky(open.id));
        QVERIFY(app.note(open.id).deletedAt);

        // A database that fails a read is logged with what failed.
        alterDatabase(app, "ALTER TABLE note RENAME TO gone");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^agent bridge: .*no such table: note"));
        const QJsonObject failed = parsed(mcp.call("list_notes", {}).text);
        QVERIFY(failed["message"].toString().startsWith("Dovrin failed: "));
    }
};

DOVRIN_EDITOR_TEST_MAIN(OpenStickyCallsTest)
#include "OpenStickyCallsTest.moc"
