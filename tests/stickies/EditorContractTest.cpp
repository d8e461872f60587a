#include "app/stickies/EditorScripts.h"
#include "app/stickies/ImageStore.h"
#include "tests/stickies/EditorTestSupport.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

using namespace Dovrin::Stickies;
using namespace Dovrin::Testing;

namespace {

// A 1 × 1 PNG.
const char* const pixelPng =
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==";

// The built editor page in a shown view, as a sticky holds it.
struct Editor {
    Editor() {
        view.setPage(page.page());
        view.resize(320, 320);
        view.show();
    }

    EditorPage page;
    MessageLog log{page};
    QWebEngineView view;
};

QString text(const std::optional<ScriptResult>& answer) {
    return answer && answer->ok() ? answer->value().toString() : u"<no answer>"_s;
}

} // namespace

// The app's whole contract with the real editor page, driven from C++ through the app scheme.
class EditorContractTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo::exists(editorDistFolder() + "/index.html"),
                 qPrintable("the editor page is not built in " + editorDistFolder()));
    }

    void fillAndCommands_reachThePageAndComeBackWhole() {
        Editor editor;
        editor.page.load();
        QTRY_COMPARE_WITH_TIMEOUT(editor.log.count("ready"), 1, 15000);
        QVERIFY(editor.log.last("ready").value("msSinceNavigation").toDouble() >= 0);
        // An empty markdown leaves the new page empty, and focus may be declined.
        auto answer = callAndWait(editor.page, EditorScripts::fill,
                                  {{"markdown", ""}, {"color", "yellow"}, {"focus", false}});
        QVERIFY(answer && answer->ok());
        QCOMPARE(answer->value().toObject(), (QJsonObject{{"markdown", ""}, {"focused", false}}));

        const QString note = u"# Shopping\n\n- [ ] milk ✦\n- [x] bread\n\nSee [site](https://example.com)."_s;
        answer = callAndWait(editor.page, EditorScripts::fill,
                             {{"markdown", note}, {"color", "blue"}, {"focus", true}});
        QVERIFY(answer && answer->ok());
        QCOMPARE(answer->value().toObject(), (QJsonObject{{"markdown", note}, {"focused", true}}));
        QCOMPARE(text(callAndWait(editor.page, EditorScripts::getMarkdown)), note);
        // The fill is the app's own doing and is not reported back as an edit.
        QTest::qWait(300);
        QCOMPARE(editor.log.count("changed"), 0);

        // The page paints no background of its own: the sticky's colour shows through.
        QVERIFY(callAndWait(editor.page, EditorScripts::setColor, {{"color", "pink"}})->ok());
        QCOMPARE(editor.page.page()->backgroundColor().alpha(), 0);
        QCOMPARE(callAndWait(editor.page, "return [document.documentElement, document.body]\n"
                                          "    .map((element) => getComputedStyle(element).backgroundColor)")
                     ->value()
                     .toArray(),
                 QJsonArray({"rgba(0, 0, 0, 0)", "rgba(0, 0, 0, 0)"}));

        QStringList paragraphs;
        qsizetype size = 0;
        for (int i = 0; size < 200 * 1024; ++i) {
            paragraphs.append(u"Paragraph %1 with ✦ some words to make it long enough."_s.arg(i));
            size += paragraphs.last().size() + 2;
        }
        const QString large = paragraphs.join("\n\n");
        answer = callAndWait(editor.page, EditorScripts::fill,
                             {{"markdown", large}, {"color", "green"}, {"focus", true}}, 30000);
        QVERIFY(answer && answer->ok());
        QCOMPARE(answer->value().toObject().value("markdown").toString(), large);
        QCOMPARE(text(callAndWait(editor.page, EditorScripts::getMarkdown)), large);

        // What each command does is the editor page's own tests' concern; here the app's script reaches them.
        const auto run = [&](const QString& markdown, const QString& id) {
            callAndWait(editor.page, EditorScripts::fill,
                        {{"markdown", markdown}, {"color", "yellow"}, {"focus", true}});
            const auto done =
                callAndWait(editor.page, EditorScripts::runCommand, {{"id", id}, {"arg", QJsonObject()}});
            return done && done->ok() ? text(callAndWait(editor.page, EditorScripts::getMarkdown))
                                      : u"<command failed>"_s;
        };
        QCOMPARE(run("line", "todo"), u"- [ ] line"_s);
        QCOMPARE(run("line", "h2"), u"## line"_s);
        QCOMPARE(run("# line", "text"), u"line"_s);
        QCOMPARE(run("line", "code"), u"```\nline\n```"_s);
        QCOMPARE(run("line", "no-such-command"), u"line"_s);

        // Marks and links act on the selection: select the whole line first.
        const auto selected = [&](const QString& id, const QJsonObject& arg = {}) {
            callAndWait(editor.page, EditorScripts::fill,
                        {{"markdown", "word"}, {"color", "yellow"}, {"focus", true}});
            QTest::keyClick(editor.view.focusProxy(), Qt::Key_A, Qt::ControlModifier);
            if (!QTest::qWaitFor([&] {
                    return text(callAndWait(editor.page, u"return window.getSelection().toString()"_s)) ==
                           "word"_L1;
                }))
                return u"nothing selected"_s;
            callAndWait(editor.page, EditorScripts::runCommand, {{"id", id}, {"arg", arg}});
            return text(callAndWait(editor.page, EditorScripts::getMarkdown));
        };
        QTRY_VERIFY(editor.view.focusProxy());
        QCOMPARE(selected("mark:bold"), u"**word**"_s);
        QCOMPARE(selected("mark:code"), u"`word`"_s);
        QCOMPARE(selected("link:set", {{"href", "https://example.com/"}}), u"[word](https://example.com/)"_s);

        const int links = editor.log.count("link");
        QCOMPARE(selected("link:edit"), u"word"_s);
        QTRY_COMPARE(editor.log.count("link"), links + 1);
        QCOMPARE(editor.log.last("link").value("mode").toString(), u"edit"_s);
        QVERIFY(callAndWait(editor.page, EditorScripts::runCommand,
                            {{"id", "link:set"}, {"arg", QJsonObject{{"href", "https://dovrin.test/"}}}})
                    ->ok());
        QCOMPARE(text(callAndWait(editor.page, EditorScripts::getMarkdown)),
                 u"[word](https://dovrin.test/)"_s);
        QVERIFY(callAndWait(editor.page, EditorScripts::runCommand,
                            {{"id", "link:remove"}, {"arg", QJsonObject()}})
                    ->ok());
        QCOMPARE(text(callAndWait(editor.page, EditorScripts::getMarkdown)), u"word"_s);
        QVERIFY(callAndWait(editor.page, EditorScripts::runCommand,
                            {{"id", "link:cancel"}, {"arg", QJsonObject()}})
                    ->ok());
        QTRY_VERIFY(editor.log.count("selection") > 0);
    }

    void remoteContent_isNeverFetchedAndTheNoteKeepsIt() {
        LoopbackServer server;
        QVERIFY(server.isListening());
        // A picture the app stored and serves, beside one that an AI could have written into the note.
        const auto picture = ImageStore().store(QByteArray::fromBase64(pixelPng), "image/png");
        QVERIFY(picture);
        const QString note = "Seen ![x](" + server.url("pixel.png") + ") here\n\n![](" + *picture + ")";

        Editor editor;
        editor.page.load();
        QTRY_COMPARE_WITH_TIMEOUT(editor.log.count("ready"), 1, 15000);
        const auto filled = callAndWait(editor.page, EditorScripts::fill,
                                        {{"markdown", note}, {"color", "blue"}, {"focus", true}});
        QVERIFY(filled && filled->ok());
        QTRY_COMPARE(callAndWait(editor.page,
                                 "return document.querySelector('img[src^=\"app:\"]')?.naturalWidth ?? -1")
                         ->value()
                         .toInt(),
                     1);
        QCOMPARE(callAndWait(editor.page, "const box = document.querySelector('.remote-image');\n"
                                          "return [box?.textContent, box?.getAttribute('role'),\n"
                                          "        document.querySelectorAll('img[src^=\"http\"]').length];")
                     ->value()
                     .toArray(),
                 QJsonArray({"x", "img", 0}));

        // The page's own attempts are stopped by its content policy already.
        editor.page.call("window.refused = new Set();\n"
                         "document.addEventListener('securitypolicyviolation',\n"
                         "    (event) => refused.add(event.effectiveDirective));");
        const auto answer = askServerFromPage(editor.page, server);
        QCOMPARE(server.connections, 0);
        QVERIFY(answer && answer->ok());
        QTRY_COMPARE(callAndWait(editor.page, "return [...refused].sort()")->value().toArray(),
                     QJsonArray({"connect-src", "frame-src", "img-src"}));
        QCOMPARE(text(callAndWait(editor.page, EditorScripts::getMarkdown)), note);
    }
};

DOVRIN_EDITOR_TEST_MAIN(EditorContractTest)
#include "EditorContractTest.moc"
