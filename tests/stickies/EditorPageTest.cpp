#include "app/stickies/StickyWebView.h"
#include "tests/stickies/EditorTestSupport.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <csignal>
#include <memory>

using namespace Qt::StringLiterals;

using namespace Dovrin::Stickies;
using namespace Dovrin::Testing;

// The host side's mechanism against a stand-in page, so that its faults show apart from the editor's.
class EditorPageTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        qputenv("DOVRIN_EDITOR_DIST", qgetenv("DOVRIN_SOURCE_DIR") + "/tests/stickies/page");
    }

    void loadedPage_postsReadyAndMessagesAndAnswersCalls() {
        EditorPage page;
        MessageLog log(page);
        page.load();
        QTRY_COMPARE_WITH_TIMEOUT(log.count("ready"), 1, 15000);
        QVERIFY(log.last("ready").value("msSinceNavigation").isDouble());
        QCOMPARE(callAndWait(page, "return document.documentElement.lang")->value(), QJsonValue("en"));

        // Messages arrive in order, and only dictionaries.
        page.call("const post = (body) => window.webkit.messageHandlers.dovrin.postMessage(body);\n"
                  "post(5); post('text'); post(null); post([1]); post({ type: 7 });\n"
                  "for (let i = 0; i < 200; ++i) post({ type: 'changed', markdown: String(i) });");
        QTRY_COMPARE(log.count("changed"), 200);
        QCOMPARE(log.messages.size(), 202);
        QCOMPARE(log.messages.at(1).first, QString());
        QCOMPARE(log.messages.at(1).second.value("type").toInt(), 7);
        for (int i = 0; i < 200; ++i)
            QCOMPARE(log.messages.at(i + 2).second.value("markdown").toString(), QString::number(i));

        // Calls are answered with values or errors, their arguments intact.
        const QString tricky = u"%1 `${x}` \\ \" ' </script> \u2028 ✦ 中文"_s;
        auto answer =
            callAndWait(page, "dovrin.setMarkdown(markdown); return { back: dovrin.getMarkdown(), n, flag };",
                        {{"markdown", tricky}, {"n", 42}, {"flag", true}});
        QVERIFY(answer && answer->ok());
        QCOMPARE(answer->value().toObject(), (QJsonObject{{"back", tricky}, {"n", 42}, {"flag", true}}));

        answer = callAndWait(page, "return await dovrin.later(50, [1, 'two', null])");
        QVERIFY(answer && answer->ok());
        QCOMPARE(answer->value().toArray(), QJsonArray({1, "two", QJsonValue::Null}));

        answer = callAndWait(page, "dovrin.setColor(color)", {{"color", "pink"}});
        QVERIFY(answer && answer->ok());
        QVERIFY(answer->value().isNull());

        answer = callAndWait(page, "return await dovrin.fail()");
        QVERIFY(answer && !answer->ok());
        QCOMPARE(answer->error().description, u"TypeError: asked to fail"_s);

        answer = callAndWait(page, "return window");
        QVERIFY(answer && !answer->ok());
        QVERIFY(answer->error().description.startsWith("result is not JSON"));

        answer = callAndWait(page, "return (", {});
        QVERIFY(answer && !answer->ok());

        answer = callAndWait(page, "return 1", {{"not a name", 1}});
        QVERIFY(answer && !answer->ok());
        QCOMPARE(answer->error().description, u"not an argument name: not a name"_s);

        setEditorLanguage("zh-Hans");
        EditorPage chinese;
        MessageLog chineseLog(chinese);
        chinese.load();
        QTRY_COMPARE_WITH_TIMEOUT(chineseLog.count("ready"), 1, 15000);
        QCOMPARE(callAndWait(chinese, "return document.documentElement.lang")->value(),
                 QJsonValue("zh-Hans"));
        setEditorLanguage("en");
    }

    void unfinishedCalls_areAnsweredWhenThePageGoesAway() {
        auto page = std::make_unique<EditorPage>();
        MessageLog log(*page);
        page->load();
        QTRY_COMPARE_WITH_TIMEOUT(log.count("ready"), 1, 15000);

        QObject receiver;
        std::optional<ScriptResult> reloaded;
        page->call("return await dovrin.never()", {}, &receiver,
                   [&](const ScriptResult& r) { reloaded = r; });
        page->load();
        QTRY_VERIFY(reloaded.has_value());
        QVERIFY(!reloaded->ok());
        QTRY_COMPARE_WITH_TIMEOUT(log.count("ready"), 2, 15000);

        std::optional<ScriptResult> terminated;
        QSignalSpy died(page.get(), &EditorPage::renderProcessTerminated);
        page->call("return await dovrin.never()", {}, &receiver,
                   [&](const ScriptResult& r) { terminated = r; });
        QTRY_VERIFY(page->page()->renderProcessPid() > 0);
        ::kill(static_cast<pid_t>(page->page()->renderProcessPid()), SIGKILL);
        QTRY_COMPARE_WITH_TIMEOUT(died.count(), 1, 10000);
        QVERIFY(terminated && !terminated->ok());

        // The process is gone for good; the next page starts a new one.
        page = std::make_unique<EditorPage>();
        MessageLog nextLog(*page);
        page->load();
        QTRY_COMPARE_WITH_TIMEOUT(nextLog.count("ready"), 1, 15000);
        std::optional<ScriptResult> closed;
        page->call("return await dovrin.never()", {}, &receiver, [&](const ScriptResult& r) { closed = r; });
        page.reset();
        QTRY_VERIFY(closed.has_value());
        QCOMPARE(closed->error().description, u"the editor page closed"_s);
    }

    void pageGoneBeforeItsView_leavesTheViewUsable() {
        QWebEngineView view;
        auto page = std::make_unique<EditorPage>();
        MessageLog log(*page);
        view.setPage(page->page());
        view.show();
        page->load();
        QTRY_COMPARE_WITH_TIMEOUT(log.count("ready"), 1, 15000);
        page.reset();
        QTest::qWait(100);
        view.resize(200, 200);
        QTest::qWait(100);
        QVERIFY(view.page() != nullptr);
    }

    void readyPage_spawnsTheNextThroughItsWindowHandler() {
        EditorPage first;
        MessageLog firstLog(first);
        first.load();
        QTRY_COMPARE_WITH_TIMEOUT(firstLog.count("ready"), 1, 15000);

        std::unique_ptr<EditorPage> spawned;
        std::unique_ptr<MessageLog> spawnedLog;
        QList<QUrl> asked;
        first.setWindowHandler([&](const QUrl& url) -> EditorPage* {
            asked.append(url);
            if (spawned)
                return nullptr;
            spawned = std::make_unique<EditorPage>();
            spawnedLog = std::make_unique<MessageLog>(*spawned);
            return spawned.get();
        });
        first.openWindow();
        QTRY_VERIFY_WITH_TIMEOUT(spawnedLog && spawnedLog->count("ready") == 1, 15000);
        QCOMPARE(asked, QList<QUrl>{QUrl("app://local/index.html")});
        QCOMPARE(spawned->page()->url(), QUrl("app://local/index.html"));

        // A refused window leaves the page as it was.
        first.openWindow();
        QTRY_COMPARE(asked.size(), 2);
        QCOMPARE(firstLog.count("ready"), 1);
    }

    void leavingApp_isALinkForThePageAndRefusedForAllElse() {
        LoopbackServer server;
        QVERIFY(server.isListening());
        EditorPage page;
        MessageLog log(page);
        QSignalSpy links(&page, &EditorPage::externalLinkRequested);
        page.load();
        QTRY_COMPARE_WITH_TIMEOUT(log.count("ready"), 1, 15000);
        page.call("location.href = 'https://example.com/n/1'");
        QTRY_COMPARE(links.count(), 1);
        QCOMPARE(links.first().first().toUrl(), QUrl("https://example.com/n/1"));
        QCOMPARE(page.page()->url(), QUrl("app://local/index.html"));

        // The stand-in page has no content policy: the profile alone keeps these from the network.
        const auto answer = askServerFromPage(page, server);
        QCOMPARE(server.connections, 0);
        QVERIFY(answer && answer->ok());
        QCOMPARE(answer->value().toArray(), QJsonArray({0, "failed"}));
        // The frame was refused before it left its first document, and is no link of the user's.
        QCOMPARE(callAndWait(page, "return document.querySelector('iframe').contentWindow.location.href")
                     ->value()
                     .toString(),
                 u"about:blank"_s);
        QCOMPARE(links.count(), 1);
    }

    void newPage_isTransparentAndFailsCallsBeforeTheShimExists() {
        EditorPage page;
        QCOMPARE(page.page()->backgroundColor().alpha(), 0);
        const auto answer = callAndWait(page, "return 1");
        QVERIFY(answer && !answer->ok());
        StickyWebView view;
        QVERIFY(view.testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(!view.autoFillBackground());
    }
};

DOVRIN_EDITOR_TEST_MAIN(EditorPageTest)
#include "EditorPageTest.moc"
