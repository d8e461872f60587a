#include "app/store/PlainText.h"
#include "app/store/Note.h"
#include "tests/support/TestMain.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace Dovrin::Store;

class PlainTextTest final : public QObject {
    Q_OBJECT

private slots:
    void plainLines_stripMarkdown() {
        const QString shopping =
            "# Shopping\n- [ ] **milk**\n- [x] [eggs](https://example.com/eggs)\n\n<br />\n";
        QCOMPARE(PlainText::plainLines(shopping), (QStringList{"Shopping", "milk", "eggs"}));
        QCOMPARE(PlainText::title(shopping), u"Shopping"_s);
        QCOMPARE(PlainText::bodyLine(shopping), u"milk · eggs"_s);

        QCOMPARE(PlainText::plainLines("#NoSpace"), QStringList{"#NoSpace"});
        QCOMPARE(PlainText::plainLines("1. one\n2) two\n* [X] done\n> quoted\n+ `code` ~~gone~~ __b__"),
                 (QStringList{"one", "two", "done", "quoted", "code gone b"}));
        QCOMPARE(PlainText::plainLines("![a cat](cat.png) and [link]()"), QStringList{"a cat and link"});
        QCOMPARE(PlainText::plainLines("####### seven"), QStringList{"####### seven"});
        QCOMPARE(PlainText::plainLines("\t  <br />  \n \n<br />"), QStringList());
        QCOMPARE(PlainText::title("\n\n<br />\n   "), QString());

        const QString breaks =
            QString("a\r\nb\rc\vd\fe") + QChar(0x85) + "f" + QChar(0x2028) + "g" + QChar(0x2029) + "h";
        QCOMPARE(PlainText::plainLines(breaks), (QStringList{"a", "b", "c", "d", "e", "f", "g", "h"}));
        // A line that is only marks is an empty title, but the body skips it.
        QCOMPARE(PlainText::plainLines("**\nfirst\n**\nsecond"), (QStringList{"", "first", "", "second"}));
        QCOMPARE(PlainText::title("**\nfirst"), QString());
        QCOMPARE(PlainText::bodyLine("**\nfirst\n**\nsecond"), u"first · second"_s);
        QCOMPARE(PlainText::bodyLine("only"), QString());
    }

    void fold_ignoresCaseAccentsAndWidth() {
        QCOMPARE(PlainText::fold("Café"), u"cafe"_s);
        QCOMPARE(PlainText::fold(QString::fromUtf8("Cafe\xCC\x81")), u"cafe"_s);
        QCOMPARE(PlainText::fold("ＡＢＣ１２３"), u"abc123"_s);
        QCOMPARE(PlainText::fold("ÅNGSTRÖM Ñandú"), u"angstrom nandu"_s);
        QCOMPARE(PlainText::fold("ｶﾞ"), PlainText::fold("カ"));
        // Only width is folded among the compatibility mappings: ligatures and superscripts stay.
        QCOMPARE(PlainText::fold("ﬁx²"), u"ﬁx²"_s);
        QCOMPARE(PlainText::fold("日本語 😀"), u"日本語 😀"_s);
    }

    void noteFields_readUnknownValuesLenientlyAndLinkInLowerCase() {
        for (const StickyColor color : allStickyColors())
            QCOMPARE(stickyColorFromRawValue(rawValue(color)), color);
        QCOMPARE(displayName(StickyColor::gray), u"Gray"_s);
        QCOMPARE(agentActionFromRawValue("checked_off"), AgentLabel::Action::checkedOff);
        QCOMPARE(agentActionFromRawValue("deleted"), AgentLabel::Action::edited);
        QCOMPARE(agentActionFromRawValue(QString()), AgentLabel::Action::edited);

        Note note;
        note.id = QUuid("{6F9619FF-8B86-D011-B42D-00C04FC964FF}");
        QCOMPARE(note.idText(), u"6f9619ff-8b86-d011-b42d-00c04fc964ff"_s);
        QCOMPARE(note.link(), u"dovrin://note/6f9619ff-8b86-d011-b42d-00c04fc964ff"_s);
        note.markdown = "## Plan\nstep";
        QCOMPARE(note.title(), u"Plan"_s);
        QCOMPARE(note.bodyLine(), u"step"_s);
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, PlainTextTest)
#include "PlainTextTest.moc"
