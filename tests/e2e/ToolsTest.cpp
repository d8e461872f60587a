#include "app/store/NoteStore.h"
#include "tests/e2e/Processes.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace Dovrin;
using namespace Dovrin::E2e;

namespace {

QString idOf(const QJsonObject& created, int index = 0) {
    return created["notes"].toArray().at(index)["id"].toString();
}

QJsonObject createOne(Mcp& mcp, const QString& markdown) {
    return mcp.callJson("create_notes", {{"notes", QJsonArray{QJsonObject{{"markdown", markdown}}}}});
}

std::unique_ptr<Store::NoteStore> openStore(const Home& home) {
    auto store = Store::NoteStore::open(home.database());
    if (!store)
        qFatal("can't open the database: %s", qPrintable(store.error().description));
    return std::move(store).value();
}

} // namespace

class ToolsTest final : public QObject {
    Q_OBJECT

private slots:
    void everyTool_answersAsAnAIClientSeesIt() {
        Home home;
        App app(home);
        QVERIFY(app.start());
        Mcp mcp(home, "claude-code");

        const QJsonObject created = mcp.callJson(
            "create_notes",
            {{"notes", QJsonArray{QJsonObject{{"markdown", "# Trip\n- [ ] Tickets\n- [ ] Hotel"}},
                                  QJsonObject{{"markdown", "Second"}, {"color", "blue"}}}}});
        QCOMPARE(created["notes"].toArray().size(), 2);
        const QString id = idOf(created);
        QCOMPARE(created["notes"].toArray().at(0)["title"].toString(), QString("Trip"));

        const QJsonArray listed = QJsonDocument::fromJson(mcp.call("list_notes", {}).text.toUtf8()).array();
        QCOMPARE(listed.size(), 2);
        QCOMPARE(listed.at(1)["todos"].toObject(), (QJsonObject{{"open", 2}, {"done", 0}}));

        const auto read = mcp.call("read_note", {{"note", "dovrin://note/" + id}});
        QVERIFY(!read.isError);
        QVERIFY(read.text.startsWith("id: " + id + "\ntitle: Trip\ncolor: yellow\nrev: 1\n"));
        QVERIFY(read.text.endsWith("  [1] [ ] Hotel\n---\n# Trip\n- [ ] Tickets\n- [ ] Hotel"));

        QCOMPARE(
            mcp.callJson(
                   "update_note",
                   {{"note", id}, {"op", "append"}, {"markdown", "- [ ] Bags"}, {"expected_rev", 1}})["rev"]
                .toInt(),
            2);
        const QJsonObject ticked =
            mcp.callJson("set_todo", {{"note", id}, {"match", "bags"}, {"checked", true}});
        QCOMPARE(ticked["todo"].toObject(), (QJsonObject{{"index", 2}, {"text", "Bags"}, {"checked", true}}));
        QCOMPARE(ticked["rev"].toInt(), 3);
        QCOMPARE(
            mcp.callJson("delete_note", {{"note", id}}),
            (QJsonObject{{"id", id},
                         {"deleted", true},
                         {"message", "Moved to Recently Deleted; the user can restore it for 30 days."}}));

        const auto store = openStore(home);
        const auto note = store->note(QUuid::fromString(id));
        QCOMPARE((*note)->markdown, QString("# Trip\n- [ ] Tickets\n- [ ] Hotel\n- [x] Bags"));
        QCOMPARE((*note)->rev, 3);
        QCOMPARE((*note)->deletedBy, QString("Claude"));
        QVERIFY(app.output().contains("agent Claude delete_note: ok"));
    }

    void errors_comeBackAsErrorObjects() {
        Home home;
        App app(home);
        QVERIFY(app.start());
        Mcp mcp(home, "cursor");
        const QString id = idOf(createOne(mcp, "- [ ] Buy milk\n- [ ] Buy milk powder\n## A\n## A"));

        const auto error = [&mcp](const QString& tool, const QJsonObject& arguments) {
            const auto result = mcp.call(tool, arguments);
            if (!result.isError)
                qWarning("not an error: %s", qPrintable(result.text));
            return parsed(result.text);
        };
        QCOMPARE(
            error("read_note", {{"note", "nope"}}),
            (QJsonObject{
                {"error", "not_found"},
                {"message", "\"nope\" isn't a Dovrin note id or link. Call list_notes to see the notes."}}));
        QCOMPARE(
            error("update_note", {{"note", id}, {"op", "append"}, {"markdown", "x"}, {"expected_rev", 9}}),
            (QJsonObject{{"error", "conflict"},
                         {"message",
                          "The note changed since you read it, and nothing was written. Merge your "
                          "change into current_markdown and retry with current_rev."},
                         {"current_rev", 1},
                         {"current_markdown", "- [ ] Buy milk\n- [ ] Buy milk powder\n## A\n## A"}}));
        QCOMPARE(
            error("set_todo", {{"note", id}, {"match", "buy"}, {"checked", true}}),
            (QJsonObject{
                {"error", "ambiguous"},
                {"message", "\"buy\" matches 2 todos. Retry with index."},
                {"candidates",
                 QJsonArray{QJsonObject{{"index", 0}, {"text", "Buy milk"}, {"checked", false}},
                            QJsonObject{{"index", 1}, {"text", "Buy milk powder"}, {"checked", false}}}}}));
        QCOMPARE(openStore(home)->note(QUuid::fromString(id)).value()->rev, 1);
    }

    void access_offRefusesEveryToolAndReadOnlyRefusesWrites() {
        Home home;
        App app(home);
        QVERIFY(app.start());
        Mcp mcp(home, "codex");
        const QString id = idOf(createOne(mcp, "note"));

        // Each tool, and whether it writes. The refusal texts are CallGateTest's.
        const QList<std::tuple<QString, QJsonObject, bool>> tools{
            {"list_notes", {}, false},
            {"read_note", {{"note", id}}, false},
            {"create_notes", {{"notes", QJsonArray{QJsonObject{{"markdown", "x"}}}}}, true},
            {"update_note", {{"note", id}, {"op", "append"}, {"markdown", "x"}, {"expected_rev", 1}}, true},
            {"set_todo", {{"note", id}, {"index", 0}, {"checked", true}}, true},
            {"delete_note", {{"note", id}}, true}};
        home.setAccess("off");
        for (const auto& [tool, arguments, writes] : tools)
            QCOMPARE(parsed(mcp.call(tool, arguments).text)["error"], QJsonValue("forbidden"));
        home.setAccess("read_only");
        for (const auto& [tool, arguments, writes] : tools) {
            const auto result = mcp.call(tool, arguments);
            QVERIFY2(result.isError == writes, qPrintable(tool));
            QVERIFY(!writes || parsed(result.text)["error"] == QJsonValue("forbidden"));
        }
        QCOMPARE(openStore(home)->note(QUuid::fromString(id)).value()->rev, 1);
    }

    void rateLimits_refuseThe61stCallAndThe21stWrite() {
        Home home;
        App app(home);
        QVERIFY(app.start());
        Mcp writer(home, "x", "Writer Bot");
        for (int i = 0; i < 20; ++i)
            QVERIFY(!writer.call("create_notes", {{"notes", QJsonArray{QJsonObject{{"markdown", "n"}}}}})
                         .isError);
        const QJsonObject refused =
            parsed(writer.call("create_notes", {{"notes", QJsonArray{QJsonObject{{"markdown", "n"}}}}}).text);
        QCOMPARE(refused["error"], QJsonValue("rate_limited"));
        QVERIFY(refused["retry_after_seconds"].toInt() >= 55 && refused["retry_after_seconds"].toInt() <= 60);
        QVERIFY(!writer.call("list_notes", {{"limit", 1}}).isError);

        // Both sessions say "Claude": one bucket.
        Mcp first(home, "claude-desktop");
        Mcp second(home, "x", "Claude Code");
        for (int i = 0; i < 60; ++i)
            QVERIFY(!(i % 2 ? first : second).call("list_notes", {{"limit", 1}}).isError);
        const QJsonObject limited = parsed(first.call("list_notes", {}).text);
        QCOMPARE(limited["error"], QJsonValue("rate_limited"));
        QVERIFY(limited["retry_after_seconds"].toInt() >= 55);
        QCOMPARE(openStore(home)->list(Store::NoteStore::Scope::active)->size(), 20);
    }

    void staleSocket_isReplacedAtStart() {
        Home home;
        {
            App crashed(home);
            QVERIFY(crashed.start());
            crashed.kill();
        }
        QVERIFY(QFile::exists(home.socket()));
        QVERIFY(!rawExchange(home.socket(), R"({"tool":"list_notes","arguments":{}})"));
        App app(home);
        QVERIFY(app.start());
        Mcp mcp(home, "claude");
        QCOMPARE(mcp.call("list_notes", {}).text, QString("[\n]"));
    }

    void badInput_neverCrashesOrCorrupts() {
        Home home;
        App app(home);
        QVERIFY(app.start());
        Mcp mcp(home, "claude");
        const QString id = idOf(createOne(mcp, "keep"));

        for (const QByteArray& request :
             {QByteArray("not json"), QByteArray(R"({"arguments":{}})"),
              QByteArray(R"({"tool":"list_notes"})"), QByteArray(), QByteArray("\x00\xff\xfe", 3)}) {
            const auto response = rawExchange(home.socket(), request);
            QVERIFY(response && response->isError);
            QCOMPARE(parsed(response->text)["error"], QJsonValue("unavailable"));
            QVERIFY(parsed(response->text)["message"].toString().startsWith("Dovrin failed: "));
        }

        const QString huge(10 * 1024 * 1024, QLatin1Char('x'));
        const auto tooLarge = mcp.call(
            "update_note", {{"note", id}, {"op", "replace_all"}, {"markdown", huge}, {"expected_rev", 1}});
        QCOMPARE(parsed(tooLarge.text),
                 (QJsonObject{{"error", "too_large"},
                              {"message", "A note can hold at most 200 KB of markdown; this is 10240 KB."}}));
        const auto store = openStore(home);
        QCOMPARE(store->list(Store::NoteStore::Scope::active)->size(), 1);
        QCOMPARE(store->note(QUuid::fromString(id)).value()->markdown, QString("keep"));
        QVERIFY(!mcp.call("list_notes", {}).isError);
    }

    void concurrentWriters_neitherLoseNorRepeatAWrite() {
        Home home;
        App app(home);
        QVERIFY(app.start());
        Mcp mcp(home, "claude");
        const QString id = idOf(createOne(mcp, "start"));

        constexpr int clients = 50;
        std::atomic<int> accepted = 0;
        std::atomic<int> conflicts = 0;
        std::vector<char> wrote(clients, 0);
        std::vector<std::thread> threads;
        for (int i = 0; i < clients; ++i) {
            threads.emplace_back([&, i] {
                const QJsonObject client{{"name", "bot"}, {"title", QString("Bot %1").arg(i)}};
                // Every client read the note at rev 1 first, then they all write at once.
                for (int attempt = 0; attempt < 3 && !wrote[i]; ++attempt) {
                    const auto read = rawExchange(
                        home.socket(), QJsonDocument(QJsonObject{{"tool", "read_note"},
                                                                 {"client", client},
                                                                 {"arguments", QJsonObject{{"note", id}}}})
                                           .toJson());
                    if (!read || read->isError)
                        return;
                    const qint64 rev =
                        attempt == 0 ? 1 : read->text.section("rev: ", 1).section('\n', 0, 0).toLongLong();
                    const auto write = rawExchange(
                        home.socket(),
                        QJsonDocument(
                            QJsonObject{{"tool", "update_note"},
                                        {"client", client},
                                        {"arguments", QJsonObject{{"note", id},
                                                                  {"op", "append"},
                                                                  {"markdown", QString("line %1").arg(i)},
                                                                  {"expected_rev", rev}}}})
                            .toJson());
                    if (!write)
                        return;
                    if (!write->isError) {
                        wrote[i] = 1;
                        ++accepted;
                    } else if (parsed(write->text)["error"] == QJsonValue("conflict")) {
                        ++conflicts;
                    }
                }
            });
        }
        for (auto& thread : threads)
            thread.join();

        QVERIFY(accepted >= 1);
        QVERIFY(conflicts >= 1);
        const auto note = openStore(home)->note(QUuid::fromString(id)).value();
        QCOMPARE(note->rev, 1 + accepted);
        for (int i = 0; i < clients; ++i)
            QCOMPARE(note->markdown.count(QRegularExpression(QString("^line %1$").arg(i),
                                                             QRegularExpression::MultilineOption)),
                     wrote[i] ? 1 : 0);
    }

    void readNote_sendsFourOfSixImagesAsImageContent() {
        Home home;
        App app(home);
        QVERIFY(app.start());
        QDir().mkpath(home.dir.filePath("Images"));
        QString markdown;
        for (int i = 1; i <= 6; ++i) {
            QFile file(home.dir.filePath(QString("Images/i%1.png").arg(i)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8"
                                              "BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg=="));
            markdown += QString("![](app://local/images/i%1.png)\n").arg(i);
        }
        Mcp mcp(home, "claude");
        const auto read = mcp.call("read_note", {{"note", idOf(createOne(mcp, markdown))}});
        QCOMPARE(read.images.size(), 4);
        QCOMPARE(read.images.first()["mimeType"].toString(), QString("image/png"));
        QVERIFY(read.text.contains("image i5.png: not attached (at most 4 images per read)\n"));
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, ToolsTest)
#include "ToolsTest.moc"
