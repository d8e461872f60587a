#include "app/agent/AgentTools.h"
#include "app/agent/AgentActivity.h"
#include "app/agent/AgentOps.h"
#include "app/agent/Provenance.h"
#include "app/core/AppSettings.h"
#include "shared/bridge/ToolLimits.h"
#include "tests/agent/ActivityStickies.h"
#include "tests/support/ManualClock.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>
#include <QtTest>

using namespace Dovrin;
using namespace Dovrin::Agent;
using Bridge::ErrorCode;

namespace {

struct Fixture {
    QTemporaryDir folder;
    ActivityStickies stickies;
    ManualClock clock{QDateTime::currentDateTimeUtc()};
    Provenance provenance;
    AgentActivity activity{stickies, stickies.store(), provenance, clock, folder.filePath("settings.json")};
    QString images = folder.filePath("Images");
    AgentTools tools{stickies, stickies.store(), activity, provenance, clock, images};

    Fixture() { QDir().mkpath(images); }

    AgentResult<ToolOutput> call(Tool tool, const QJsonObject& arguments, const QString& agent = "Claude") {
        std::optional<AgentResult<ToolOutput>> answer;
        tools.run(tool, arguments, agent,
                  [&answer](AgentResult<ToolOutput> result) { answer = std::move(result); });
        if (!answer)
            qFatal("the tool did not answer");
        return std::move(*answer);
    }

    QJsonValue json(Tool tool, const QJsonObject& arguments) {
        const auto result = call(tool, arguments);
        if (!result)
            qFatal("%s failed: %s", qPrintable(toolName(tool)), qPrintable(result.error().message));
        const auto document = QJsonDocument::fromJson(result->text.toUtf8());
        return document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
    }

    AgentError error(Tool tool, const QJsonObject& arguments) {
        const auto result = call(tool, arguments);
        if (result)
            qFatal("%s succeeded: %s", qPrintable(toolName(tool)), qPrintable(result->text));
        return result.error();
    }
};

} // namespace

class AgentToolsTest final : public QObject {
    Q_OBJECT

private slots:
    void argumentsAndNoteReferences_areCheckedWithDetails() {
        Fixture f;
        const QList<std::tuple<Tool, QJsonObject, QString>> cases{
            {Tool::listNotes,
             {{"limit", "5"}},
             "list_notes: arguments.limit: Expected to decode Int but found a string instead."},
            {Tool::readNote, {}, "read_note: missing note"},
            {Tool::updateNote,
             {{"note", "x"}, {"op", "append"}, {"markdown", "m"}},
             "update_note: missing expected_rev"},
            {Tool::updateNote,
             {{"note", "x"}, {"op", "prepend"}, {"markdown", "m"}, {"expected_rev", 1}},
             "update_note: arguments.op: Cannot initialize Op from invalid String value prepend"},
            {Tool::setTodo,
             {{"note", "x"}, {"checked", QJsonValue()}},
             "set_todo: arguments.checked: Expected Bool value but found null instead."},
            {Tool::createNotes,
             {{"notes", QJsonArray{QJsonObject{{"markdown", 3}}}}},
             "create_notes: arguments.notes.0.markdown: Expected to decode String but found a number "
             "instead."},
        };
        for (const auto& [tool, arguments, message] : cases)
            QCOMPARE(f.error(tool, arguments).message, "Invalid arguments for " + message);
        QCOMPARE(f.error(Tool::readNote, {{"note", "x"}, {"max_chars", 1.5}}).code,
                 ErrorCode::invalidArguments);
        // The camel-case spelling of a key works too.
        QVERIFY(f.call(Tool::listNotes, {{"includeClosed", false}}).ok());

        // A note is named by its id or its link.
        const Store::Note note = f.stickies.userNote("# Plan");
        const QString id = note.idText();
        for (const QString& reference : {id.toUpper(), "  dovrin://note/" + id + " \n", "DOVRIN://note/" + id,
                                         "https://example.com/n/" + id})
            QVERIFY2(f.call(Tool::readNote, {{"note", reference}}).ok(), qPrintable(reference));
        for (const QString& reference :
             {"dovrin://NOTE/" + id, "https://example.com/x/n/" + id, QString("plan")})
            QCOMPARE(
                f.error(Tool::readNote, {{"note", reference}}),
                (AgentError{ErrorCode::notFound,
                            "\"" + reference +
                                "\" isn't a Dovrin note id or link. Call list_notes to see the notes."}));
        QVERIFY(f.stickies.store()
                    .moveToRecentlyDeleted(note.id, QDateTime::currentDateTimeUtc(), std::nullopt)
                    .ok());
        const AgentError gone{ErrorCode::notFound,
                              "No note " + id +
                                  " on this computer (it may have been deleted). Call list_notes."};
        QCOMPARE(f.error(Tool::readNote, {{"note", id}}), gone);
        QCOMPARE(f.error(Tool::deleteNote, {{"note", id}}), gone);
        QCOMPARE(f.error(Tool::setTodo, {{"note", id}, {"index", 0}, {"checked", true}}), gone);
    }

    void listNotes_filtersNewestFirst() {
        Fixture f;
        const Store::Note older = f.stickies.userNote("# Groceries\n\n- [ ] Milk\n- [x] Bread\nmore   text");
        // Newest first needs a later time stamp.
        QTRY_VERIFY(QDateTime::currentDateTimeUtc() > older.updatedAt);
        const Store::Note closed = f.stickies.userNote("Closed one");
        QVERIFY(f.stickies.store().close(closed.id).ok());

        const QJsonArray all = f.json(Tool::listNotes, {}).toArray();
        QCOMPARE(all.size(), 2);
        QCOMPARE(all.at(0)["id"].toString(), closed.idText());
        const QJsonObject groceries = all.at(1).toObject();
        QCOMPARE(groceries.keys(), QStringList({"color", "id", "is_open", "link", "preview", "rev", "title",
                                                "todos", "updated"}));
        QCOMPARE(groceries["title"].toString(), QString("Groceries"));
        QCOMPARE(groceries["preview"].toString(), QString("- [ ] Milk - [x] Bread more   text"));
        QCOMPARE(groceries["todos"].toObject(), (QJsonObject{{"open", 1}, {"done", 1}}));
        QCOMPARE(groceries["updated"].toString(), older.updatedAt.toUTC().toString(Qt::ISODate));
        QCOMPARE(groceries["link"].toString(), "dovrin://note/" + older.idText());

        QCOMPARE(f.json(Tool::listNotes, {{"include_closed", false}}).toArray().size(), 1);
        QCOMPARE(f.json(Tool::listNotes, {{"query", "MILK"}}).toArray().size(), 1);
        QCOMPARE(f.json(Tool::listNotes, {{"limit", 0}}).toArray().size(), 0);
        QCOMPARE(f.json(Tool::listNotes, {{"limit", -3}}).toArray().size(), 0);
    }

    void readNote_pagesByUserPerceivedCharactersAndAttachesFourImages() {
        Fixture f;
        // A thumbs-up with a skin tone and an "e" with a combining accent are one character each.
        const QString wide = QString::fromUtf8("👍🏽") + QString::fromUtf8("e\u0301");
        const Store::Note note = f.stickies.userNote("- [ ] a\n- [x] b\n" + wide.repeated(1500));
        const QString total = QString::number(16 + 3000);
        const QString text = f.call(Tool::readNote, {{"note", note.idText()}, {"max_chars", 10}})->text;
        QVERIFY(text.contains("todos (index for set_todo):\n  [0] [ ] a\n  [1] [x] b\n"));
        QVERIFY(text.contains(
            QString("markdown: characters 0–1000 of %1; call read_note with offset 1000 for the rest")
                .arg(total)));
        const QString page = text.mid(text.indexOf("\n---\n") + 5);
        QCOMPARE(page, QString("- [ ] a\n- [x] b\n") + wide.repeated(492));

        const QString tail = f.call(Tool::readNote, {{"note", note.idText()}, {"offset", 2019}})->text;
        QVERIFY(tail.contains("\n---\n" + wide.right(2) + wide.left(4)));
        QVERIFY(tail.endsWith(wide));
        QVERIFY(tail.contains(QString("markdown: characters 2019–%1 of %1\n").arg(total)));

        const Store::Note exact = f.stickies.userNote(QString(24000, u'x'));
        QVERIFY(!f.call(Tool::readNote, {{"note", exact.idText()}})->text.contains("markdown: characters"));
        QVERIFY(f.call(Tool::readNote, {{"note", exact.idText()}, {"offset", -5}}).ok());
        // A woman technologist with a skin tone is a joined sequence of four code points, yet one character.
        const Store::Note joined =
            f.stickies.userNote(QString::fromUtf8("👩🏽‍💻 café\n") + QString(2000, u'z'));
        const QString rest = f.call(Tool::readNote, {{"note", joined.idText()}, {"offset", 1}})->text;
        QVERIFY(rest.contains("markdown: characters 1–2007 of 2007\n"));
        QVERIFY(rest.contains("\n---\n café\nzz"));

        // At most four images are attached, from the start of the note only.
        QString markdown;
        for (int i = 1; i <= 6; ++i) {
            QFile file(f.images + QString("/p%1.png").arg(i));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("\x89PNG\r\n\x1a\n") + QByteArray::number(i));
            markdown += QString("![](app://local/images/p%1.png)\n").arg(i);
        }
        QFile big(f.images + "/big.jpg");
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write(QByteArray(Bridge::maxImageBytes + 1, 'x'));
        big.close();
        markdown = "![](app://local/images/big.jpg) ![](app://local/images/none.gif) " + markdown;
        const QString pictures = f.stickies.userNote(markdown).idText();
        const auto output = f.call(Tool::readNote, {{"note", pictures}});
        QCOMPARE(output->images.size(), 4);
        QVERIFY(f.call(Tool::readNote, {{"note", pictures}, {"offset", 1}})->images.isEmpty());
        QCOMPARE(output->images.first().mimeType, QString("image/png"));
        QCOMPARE(QByteArray::fromBase64(output->images.first().data.toLatin1()),
                 QByteArray("\x89PNG\r\n\x1a\n1"));
        for (const char* line :
             {"image big.jpg: not attached (missing, over 2 MB, or not an image)",
              "image none.gif: not attached (missing, over 2 MB, or not an image)", "image 1: p1.png",
              "image 4: p4.png", "image p5.png: not attached (at most 4 images per read)",
              "image p6.png: not attached (at most 4 images per read)"})
            QVERIFY2(output->text.contains(QString::fromUtf8(line) + "\n"), line);
    }

    void createNotes_checksEveryNoteFirst() {
        Fixture f;
        QJsonArray eleven;
        for (int i = 0; i < 11; ++i)
            eleven.append(QJsonObject{{"markdown", "n"}, {"color", "teal"}});
        QCOMPARE(f.error(Tool::createNotes, {{"notes", eleven}}).message,
                 QString("create_notes takes at most 10 notes per call; you sent 11. Split them."));
        QCOMPARE(f.error(Tool::createNotes, {{"notes", QJsonArray()}}).message,
                 QString("create_notes needs at least one note."));
        QJsonArray ten;
        for (int i = 0; i < 10; ++i)
            ten.append(QJsonObject{{"markdown", "n"}, {"color", i == 9 ? "Blue" : "blue"}});
        QCOMPARE(f.error(Tool::createNotes, {{"notes", ten}}).message,
                 QString("Unknown color \"Blue\". Use one of: yellow, blue, green, pink, purple, gray."));
        const QString limit = QString(Bridge::maxMarkdownBytes - 3, u'a') + "\r\né";
        QCOMPARE(
            f.error(Tool::createNotes, {{"notes", QJsonArray{QJsonObject{{"markdown", limit + "b"}}}}}),
            (AgentError{ErrorCode::tooLarge, "A note can hold at most 200 KB of markdown; this is 200 KB."}));
        QVERIFY(f.stickies.store().list(Store::NoteStore::Scope::active)->isEmpty());

        Core::appSettings().setValue("defaultColor", "green");
        const QJsonObject created =
            f.json(Tool::createNotes,
                   {{"notes", QJsonArray{QJsonObject{{"markdown", limit}},
                                         QJsonObject{{"markdown", "# B"}, {"color", "pink"}}}}})
                .toObject();
        const QJsonArray notes = created["notes"].toArray();
        QCOMPARE(notes.size(), 2);
        QCOMPARE(notes.at(1).toObject().keys(), QStringList({"id", "link", "rev", "title"}));
        const auto first = f.stickies.reload(QUuid::fromString(notes.at(0)["id"].toString()));
        QCOMPARE(first.color, Store::StickyColor::green);
        QVERIFY(!first.markdown.contains('\r'));
        QCOMPARE(f.stickies.reload(QUuid::fromString(notes.at(1)["id"].toString())).color,
                 Store::StickyColor::pink);
        QCOMPARE(first.batchID->toString(QUuid::WithoutBraces), created["batch_id"].toString());
        Core::appSettings().remove("defaultColor");
    }

    void updateNote_checksRevThenWrites() {
        Fixture f;
        const Store::Note note = f.stickies.userNote("# Plan\n## Tasks\n- a\n## Notes\nx");
        const QString id = note.idText();
        const AgentError stale = f.error(
            Tool::updateNote, {{"note", id}, {"op", "append"}, {"markdown", "- b"}, {"expected_rev", 7}});
        QCOMPARE(stale, AgentOps::conflict(note.rev, note.markdown));
        QCOMPARE(f.error(Tool::updateNote, {{"note", id},
                                            {"op", "replace_section"},
                                            {"markdown", "no heading"},
                                            {"expected_rev", note.rev}})
                     .code,
                 ErrorCode::invalidArguments);
        QCOMPARE(f.stickies.reload(note.id), note);

        const QJsonObject replaced = f.json(Tool::updateNote, {{"note", id},
                                                               {"op", "replace_section"},
                                                               {"markdown", "## Tasks\n- c"},
                                                               {"expected_rev", note.rev}})
                                         .toObject();
        QCOMPARE(replaced, (QJsonObject{{"id", id}, {"rev", note.rev + 1}, {"link", note.link()}}));
        QCOMPARE(f.stickies.reload(note.id).markdown, QString("# Plan\n## Tasks\n- c\n\n## Notes\nx"));
        QCOMPARE(f.stickies.reload(note.id).agentLabel,
                 (Store::AgentLabel{"Claude", Store::AgentLabel::Action::edited}));

        // Through the open sticky's editor.
        f.stickies.open.insert(note.id);
        const QJsonObject appended =
            f.json(Tool::updateNote,
                   {{"note", id}, {"op", "append"}, {"markdown", "tail"}, {"expected_rev", note.rev + 1}})
                .toObject();
        QCOMPARE(appended["rev"].toInteger(), note.rev + 2);
        QVERIFY(f.stickies.reload(note.id).markdown.endsWith("## Notes\nx\n\ntail"));
        f.stickies.editorConflicts = true;
        QCOMPARE(
            f.error(Tool::updateNote,
                    {{"note", id}, {"op", "replace_all"}, {"markdown", "x"}, {"expected_rev", note.rev + 2}})
                .code,
            ErrorCode::conflict);
        QCOMPARE(f.stickies.reload(note.id).rev, note.rev + 2);
    }

    void setTodo_needsExactlyOneTarget() {
        Fixture f;
        const QString unknown = QUuid::createUuid().toString(QUuid::WithoutBraces);
        const AgentError exactlyOne{ErrorCode::invalidArguments, "Pass exactly one of index or match."};
        QCOMPARE(f.error(Tool::setTodo, {{"note", unknown}, {"checked", true}}), exactlyOne);
        QCOMPARE(f.error(Tool::setTodo, {{"note", unknown}, {"index", 0}, {"match", "a"}, {"checked", true}}),
                 exactlyOne);

        const Store::Note note = f.stickies.userNote("- [x] done\n- [ ] open");
        const QJsonObject same =
            f.json(Tool::setTodo, {{"note", note.idText()}, {"index", 0}, {"checked", true}}).toObject();
        QCOMPARE(same["rev"].toInteger(), note.rev);
        QCOMPARE(same["todo"].toObject(), (QJsonObject{{"index", 0}, {"text", "done"}, {"checked", true}}));
        QCOMPARE(f.stickies.reload(note.id), note);

        const QJsonObject ticked =
            f.json(Tool::setTodo, {{"note", note.idText()}, {"match", "OPEN"}, {"checked", true}}).toObject();
        QCOMPARE(ticked["rev"].toInteger(), note.rev + 1);
        QCOMPARE(f.stickies.reload(note.id).agentLabel->action, Store::AgentLabel::Action::checkedOff);
        QCOMPARE(f.error(Tool::setTodo, {{"note", note.idText()}, {"index", 5e9}, {"checked", true}}).code,
                 ErrorCode::notFound);
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, AgentToolsTest)
#include "AgentToolsTest.moc"
