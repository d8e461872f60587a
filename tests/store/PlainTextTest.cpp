#include "PlainText.h"
#include "Note.h"

#include <QTest>

using namespace Dovrin::Store;

class PlainTextTest final : public QObject {
    Q_OBJECT

private slots:
    void plainLines_stripMarkdown() {
        const QString shopping =
            "# Shopping\n- [ ] **milk**\n- [x] [eggs](https://example.com/eggs)\n\n<br />\n";
        QCOMPARE(PlainText::plainLines(shopping), (QStringList{"Shopping", "milk", "eggs"}));
        QCOMPARE(PlainText::title(shopping), QStringLiteral("Shopping"));
        QCOMPARE(PlainText::bodyLine(shopping), QStringLiteral("milk · eggs"));

        QCOMPARE(PlainText::plainLines("#NoSpace"), QStringList{"#NoSpace"});
        QCOMPARE(PlainText::plainLines("1. one\n2) two\n* [X] done\n> quoted\n+ `code` ~~gone~~ __b__"),
                 (QStringList{"one", "two", "done", "quoted", "code gone b"}));
        QCOMPARE(PlainText::plainLines("![a cat](cat.png) and [link]()"), QStringList{"a cat and link"});
        QCOMPARE(PlainText::plainLines("####### seven"), QStringList{"####### seven"});
        QCOMPARE(PlainText::plainLines("\t  <br />  \n \n<br />"), QStringList());
        QCOMPARE(PlainText::title("\n\n<br />\n   "), QString());
    }

    void lineBreaks_ofEveryKindSplit() {
        const QString text =
            QString("a\r\nb\rc\vd\fe") + QChar(0x85) + "f" + QChar(0x2028) + "g" + QChar(0x2029) + "h";
        QCOMPARE(PlainText::plainLines(text), (QStringList{"a", "b", "c", "d", "e", "f", "g", "h"}));
    }

    void emptyPlainLine_isSkippedByBodyButMakesEmptyTitle() {
        QCOMPARE(PlainText::plainLines("**\nfirst\n**\nsecond"), (QStringList{"", "first", "", "second"}));
        QCOMPARE(PlainText::title("**\nfirst"), QString());
        QCOMPARE(PlainText::bodyLine("**\nfirst\n**\nsecond"), QStringLiteral("first · second"));
        QCOMPARE(PlainText::bodyLine("only"), QString());
    }

    void fold_ignoresCaseAccentsAndWidth() {
        QCOMPARE(PlainText::fold("Café"), QStringLiteral("cafe"));
        QCOMPARE(PlainText::fold(QString::fromUtf8("Cafe\xCC\x81")), QStringLiteral("cafe"));
        QCOMPARE(PlainText::fold("ＡＢＣ１２３"), QStringLiteral("abc123"));
        QCOMPARE(PlainText::fold("ÅNGSTRÖM Ñandú"), QStringLiteral("angstrom nandu"));
        QCOMPARE(PlainText::fold("ｶﾞ"), PlainText::fold("カ"));
        // Only width is folded among the compatibility mappings: ligatures and superscripts stay.
        QCOMPARE(PlainText::fold("ﬁx²"), QStringLiteral("ﬁx²"));
        QCOMPARE(PlainText::fold("日本語 😀"), QStringLiteral("日本語 😀"));
    }

    void enumerations_readUnknownValuesLeniently() {
        for (const StickyColor color : allStickyColors())
            QCOMPARE(stickyColorFromRawValue(rawValue(color)), color);
        QCOMPARE(displayName(StickyColor::gray), QStringLiteral("Gray"));
        QCOMPARE(agentActionFromRawValue("checked_off"), AgentLabel::Action::checkedOff);
        QCOMPARE(agentActionFromRawValue("deleted"), AgentLabel::Action::edited);
        QCOMPARE(agentActionFromRawValue(QString()), AgentLabel::Action::edited);
    }

    void noteId_isLowerCaseInLinks() {
        Note note;
        note.id = QUuid("{6F9619FF-8B86-D011-B42D-00C04FC964FF}");
        QCOMPARE(note.idText(), QStringLiteral("6f9619ff-8b86-d011-b42d-00c04fc964ff"));
        QCOMPARE(note.link(), QStringLiteral("dovrin://note/6f9619ff-8b86-d011-b42d-00c04fc964ff"));
        note.markdown = "## Plan\nstep";
        QCOMPARE(note.title(), QStringLiteral("Plan"));
        QCOMPARE(note.bodyLine(), QStringLiteral("step"));
    }
};

QTEST_GUILESS_MAIN(PlainTextTest)
#include "PlainTextTest.moc"
