#include "app/agent/AgentOps.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace Dovrin::Agent;
using Dovrin::Bridge::ErrorCode;

class AgentOpsTest final : public QObject {
    Q_OBJECT

private slots:
    void todos_skipFencedCodeAndCountIndentedAndNumbered() {
        const QString note = "- [ ] one\n```\n- [ ] code\n~~~\n- [x] still code\n```\n  1. [X] two\n2) [ ] \n"
                             "- [ ]three\n- [ ]\n~~~\n- [ ] tilde code\n~~~\r\n* [x]  four  ";
        QCOMPARE(AgentOps::todos(note), (QList<AgentOps::Todo>{{0, 0, "one", false},
                                                               {1, 6, "two", true},
                                                               {2, 7, "", false},
                                                               {3, 9, "", false},
                                                               {4, 13, "four", true}}));
    }

    void setTodo_byIndexAndMatch() {
        const QString note = "- [ ] Buy milk\n- [ ] Buy milk powder\n";
        auto exact = AgentOps::setTodo(QString(" BUY milk\t"), true, note);
        QVERIFY(exact.ok());
        QCOMPARE(exact->markdown, QString("- [x] Buy milk\n- [ ] Buy milk powder\n"));
        QCOMPARE(exact->todo, (AgentOps::Todo{0, 0, "Buy milk", true}));

        auto part = AgentOps::setTodo(QString("powder"), true, note);
        QCOMPARE(part->todo.index, 1);

        auto ambiguous = AgentOps::setTodo(QString("buy"), true, note);
        QCOMPARE(ambiguous.error().code, ErrorCode::ambiguous);

        auto none = AgentOps::setTodo(QString("eggs"), true, note);
        QCOMPARE(none.error(), (AgentError{ErrorCode::notFound,
                                           "No todo matches \"eggs\". Call read_note to see the todos."}));
        auto empty = AgentOps::setTodo(QString(" \t"), true, note);
        QCOMPARE(empty.error(), (AgentError{ErrorCode::invalidArguments, "match must not be empty."}));
        auto outOfRange = AgentOps::setTodo(qint64(2), true, note);
        QCOMPARE(outOfRange.error(),
                 (AgentError{
                     ErrorCode::notFound,
                     "The note has 2 todos; index 2 is out of range (0-based, as read_note lists them)."}));
        QCOMPARE(AgentOps::setTodo(qint64(-1), true, note).error().code, ErrorCode::notFound);

        const QString ticked = "- [x] a [ ] b";
        auto unchanged = AgentOps::setTodo(qint64(0), true, ticked);
        QCOMPARE(unchanged->markdown, ticked);
        QVERIFY(unchanged->todo.checked);
        QCOMPARE(AgentOps::setTodo(qint64(0), true, "- [ ] a [ ] b")->markdown, QString("- [x] a [ ] b"));
        QCOMPARE(AgentOps::setTodo(qint64(0), false, ticked)->markdown, QString("- [ ] a [ ] b"));

        const QString fenced = "```\n- [ ] hidden\n```\n- [ ] shown";
        QCOMPARE(AgentOps::setTodo(QString("hidden"), true, fenced).error().code, ErrorCode::notFound);
        QCOMPARE(AgentOps::setTodo(qint64(0), true, fenced)->markdown,
                 QString("```\n- [ ] hidden\n```\n- [x] shown"));
    }

    void replaceSection_boundaries() {
        const QString note = "# Plan\n## Tasks\n- a\n- b\n### Sub\nline\n## Notes\nkeep";
        QCOMPARE(*AgentOps::replaceSection("## Tasks\n- c\n", note),
                 QString("# Plan\n## Tasks\n- c\n\n## Notes\nkeep"));
        QCOMPARE(*AgentOps::replaceSection("## tasks\nnew", "### Tasks\nold\n"), QString("## tasks\nnew\n"));
        QCOMPARE(*AgentOps::replaceSection("## Tasks\nnew", "## Tasks\nold"), QString("## Tasks\nnew"));
        QCOMPARE(*AgentOps::replaceSection("## C\nnew", "## C#\nold\n```\n# not a heading\n```\n# Next"),
                 QString("## C\nnew\n\n# Next"));
        QCOMPARE(*AgentOps::replaceSection("## Missing\nx", "text\n"), QString("text\n\n## Missing\nx\n"));

        QCOMPARE(
            AgentOps::replaceSection("plain\n## Tasks", note).error(),
            (AgentError{ErrorCode::invalidArguments,
                        "replace_section needs markdown whose first line is a heading, e.g. \"## Tasks\"."}));
        QCOMPARE(
            AgentOps::replaceSection("\n## Tasks\nx", "## Tasks\n1\n## Tasks\n2").error(),
            (AgentError{ErrorCode::ambiguous, "The note has 2 sections titled \"## Tasks\". Use update_note "
                                              "with op replace_all instead."}));
        QCOMPARE(AgentOps::replaceSection("##\nx", note).error().code, ErrorCode::invalidArguments);
    }

    void append_spacing() {
        QCOMPARE(AgentOps::append("- c", "- a\n- b\n"), QString("- a\n- b\n- c\n"));
        QCOMPARE(AgentOps::append("Text", "- a\n- b\n"), QString("- a\n- b\n\nText\n"));
        QCOMPARE(AgentOps::append("\n\nadd\n", ""), QString("add"));
        QCOMPARE(AgentOps::append("add", "\n"), QString("add\n"));
        QCOMPARE(AgentOps::append("\n", "body\n\n"), QString("body\n\n"));
        QCOMPARE(AgentOps::append("1. x", "para"), QString("para\n\n1. x"));
    }

    void imageNames_keepSafeNamesOnce() {
        const QString note = "![a](app://local/images/one.png) ![b](app://local/images/one.png)\n"
                             "![c](app://local/images/../x.png) ![d](app://local/images/.hidden.png)"
                             "![e](app://local/images/two_2-b.jpg) ![f](https://x/images/three.png)";
        QCOMPARE(AgentOps::imageNames(note), QStringList({"one.png", "two_2-b.jpg"}));
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, AgentOpsTest)
#include "AgentOpsTest.moc"
