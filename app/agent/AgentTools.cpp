#include "app/agent/AgentTools.h"

#include "app/agent/AgentOps.h"
#include "app/agent/NoteReference.h"
#include "app/agent/Provenance.h"
#include "app/agent/StickyAccess.h"
#include "app/agent/ToolJson.h"
#include "app/core/Clock.h"
#include "app/core/Log.h"
#include "app/store/DefaultColor.h"
#include "app/store/NoteStore.h"
#include "shared/bridge/JsonText.h"
#include "shared/bridge/ToolLimits.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QTextBoundaryFinder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Dovrin::Agent {

using Bridge::ErrorCode;
using Store::Note;
using Store::NoteStore;
namespace Args = ToolArguments;

namespace {

template <typename T> AgentResult<T> storeFailure(const Store::StoreError& error) {
    return AgentError::failed(error.description);
}

AgentError unsaved() {
    return AgentError{ErrorCode::unavailable, u"Dovrin couldn't save the note. Try again."_s};
}

QString isoTime(const QDateTime& time) {
    return time.toUTC().toString(Qt::ISODate);
}

// Positions between user-perceived characters, from 0 to the text's length.
QList<qsizetype> graphemeBoundaries(const QString& text) {
    QList<qsizetype> boundaries{0};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    while (finder.toNextBoundary() != -1)
        boundaries.append(finder.position());
    if (boundaries.last() != text.size())
        boundaries.append(text.size());
    return boundaries;
}

// The first `count` user-perceived characters.
QString graphemePrefix(const QString& text, qsizetype count) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype i = 0; i < count && end < text.size(); ++i) {
        end = finder.toNextBoundary();
        if (end == -1)
            return text;
    }
    return text.left(end);
}

QString preview(const QString& markdown) {
    static const QRegularExpression lineBreak(u"[\\n\\r\\x{2028}\\x{2029}]"_s);
    QStringList lines;
    for (const QString& piece : markdown.split(lineBreak, Qt::SkipEmptyParts))
        lines.append(piece.trimmed());
    const auto first =
        std::find_if(lines.cbegin(), lines.cend(), [](const QString& line) { return !line.isEmpty(); });
    if (first == lines.cend())
        return {};
    return graphemePrefix(QStringList(first + 1, lines.cend()).join(QLatin1Char(' ')), 120);
}

// "yellow, blue, …", as the unknown-colour message lists them.
QString colorNameList() {
    QStringList names;
    for (const char* name : Bridge::colorNames)
        names.append(QLatin1String(name));
    return names.join(u", "_s);
}

QJsonObject todoCounts(const QString& markdown) {
    int open = 0;
    int done = 0;
    for (const auto& todo : AgentOps::todos(markdown))
        (todo.checked ? done : open) += 1;
    return {{"open", open}, {"done", done}};
}

// CRLF becomes LF; markdown over the limit, counted in UTF-8 bytes, is refused.
AgentResult<QString> checkedMarkdown(const QString& markdown) {
    QString normalised = markdown;
    normalised.replace(u"\r\n"_s, u"\n"_s);
    const qsizetype bytes = normalised.toUtf8().size();
    if (bytes > Bridge::maxMarkdownBytes)
        return AgentError{
            ErrorCode::tooLarge,
            u"A note can hold at most %1 KB of markdown; this is %2 KB."_s.arg(
                QString::number(Bridge::maxMarkdownBytes / 1024), QString::number(bytes / 1024))};
    return normalised;
}

std::optional<QString> imageMimeType(const QString& name) {
    const QString extension = QFileInfo(name).suffix().toLower();
    if (extension == "png"_L1)
        return u"image/png"_s;
    if (extension == "jpg"_L1 || extension == "jpeg"_L1)
        return u"image/jpeg"_s;
    if (extension == "gif"_L1)
        return u"image/gif"_s;
    if (extension == "webp"_L1)
        return u"image/webp"_s;
    if (extension == "heic"_L1)
        return u"image/heic"_s;
    return std::nullopt;
}

std::optional<QByteArray> readImage(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || file.size() > Bridge::maxImageBytes || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Read one byte past the limit, so a file that grew since the size check is still refused.
    QByteArray bytes = file.read(Bridge::maxImageBytes + 1);
    if (bytes.size() > Bridge::maxImageBytes || file.error() != QFile::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace

AgentTools::AgentTools(StickyAccess& stickies, Store::NoteStore& store, AgentActivity& activity,
                       Provenance& provenance, Core::Clock& clock, std::optional<QString> imagesDirectory)
    : m_stickies(stickies), m_store(store), m_activity(activity), m_provenance(provenance), m_clock(clock),
      m_imagesDirectory(std::move(imagesDirectory)) {}

void AgentTools::run(Tool tool, const QJsonObject& arguments, const QString& agent, Done done) {
    switch (tool) {
    case Tool::listNotes:
        if (auto args = Args::listArgs(arguments))
            return listNotes(*args, done);
        else
            return done(args.error());
    case Tool::readNote:
        if (auto args = Args::readArgs(arguments))
            return readNote(*args, done);
        else
            return done(args.error());
    case Tool::createNotes:
        if (auto args = Args::createArgs(arguments))
            return createNotes(*args, agent, done);
        else
            return done(args.error());
    case Tool::updateNote:
        if (auto args = Args::updateArgs(arguments))
            return updateNote(*args, agent, done);
        else
            return done(args.error());
    case Tool::setTodo:
        if (auto args = Args::setTodoArgs(arguments))
            return setTodo(*args, agent, done);
        else
            return done(args.error());
    case Tool::deleteNote:
        if (auto args = Args::noteArgs(arguments))
            return deleteNote(*args, agent, done);
        else
            return done(args.error());
    }
}

void AgentTools::resolve(const QString& reference, NoteDone done) {
    const auto id = noteReference(reference);
    if (!id)
        return done(id.error());
    const auto notFound = [id = *id] {
        return AgentError{ErrorCode::notFound,
                          u"No note %1 on this computer (it may have been deleted). Call list_notes."_s.arg(
                              Store::idText(id))};
    };
    const auto fromStore = [this, id = *id, notFound, done] {
        const auto stored = m_store.note(id);
        if (!stored)
            return done(storeFailure<Note>(stored.error()));
        if (!*stored || (*stored)->deletedAt)
            return done(notFound());
        done(**stored);
    };
    if (!m_stickies.hasOpenSticky(*id))
        return fromStore();
    m_stickies.currentNote(*id, whileAlive([notFound, fromStore, done](std::optional<Note> note) {
        if (!note)
            return fromStore();
        if (note->deletedAt)
            return done(notFound());
        done(*note);
    }));
}

void AgentTools::listNotes(const Args::ListArgs& args, const Done& done) {
    auto notes = m_store.list(NoteStore::Scope::active);
    if (!notes)
        return done(storeFailure<ToolOutput>(notes.error()));
    QList<Note> listed = std::move(notes).value();
    std::stable_sort(listed.begin(), listed.end(),
                     [](const Note& a, const Note& b) { return a.updatedAt > b.updatedAt; });
    const QString query = args.query.value_or(QString()).toLower();
    const bool includeClosed = args.includeClosed.value_or(true);
    // A negative limit lists nothing, as 0 does.
    const qint64 limit = std::max<qint64>(0, args.limit.value_or(Bridge::defaultListLimit));
    QJsonArray result;
    for (const Note& note : listed) {
        if (result.size() >= limit)
            break;
        if (!includeClosed && !note.isOpen)
            continue;
        if (!query.isEmpty() && !note.markdown.toLower().contains(query))
            continue;
        result.append(QJsonObject{{"id", note.idText()},
                                  {"title", note.title()},
                                  {"preview", preview(note.markdown)},
                                  {"color", Store::rawValue(note.color)},
                                  {"is_open", note.isOpen},
                                  {"rev", note.rev},
                                  {"updated", isoTime(note.updatedAt)},
                                  {"link", note.link()},
                                  {"todos", todoCounts(note.markdown)}});
    }
    done(ToolOutput{Bridge::renderJsonText(result), {}});
}

void AgentTools::readNote(const Args::ReadArgs& args, const Done& done) {
    resolve(args.note, [this, args, done](AgentResult<Note> note) {
        if (!note)
            return done(note.error());
        ToolOutput output;
        output.text = readText(*note, args, output.images);
        done(output);
    });
}

QString AgentTools::readText(const Note& note, const Args::ReadArgs& args,
                             QList<Bridge::BridgeResponse::Image>& images) const {
    QStringList lines{u"id: "_s + note.idText(),
                      u"title: "_s + note.title(),
                      u"color: "_s + Store::rawValue(note.color),
                      u"rev: "_s + QString::number(note.rev),
                      u"updated: "_s + isoTime(note.updatedAt),
                      u"is_open: "_s + (note.isOpen ? u"true"_s : u"false"_s),
                      u"link: "_s + note.link()};
    const auto todos = AgentOps::todos(note.markdown);
    lines.append(u"todos (index for set_todo):"_s + (todos.isEmpty() ? u" none"_s : QString()));
    for (const auto& todo : todos)
        lines.append(u"  [%1] [%2] %3"_s.arg(todo.index).arg(todo.checked ? u"x"_s : u" "_s, todo.text));

    const QList<qsizetype> boundaries = graphemeBoundaries(note.markdown);
    const qint64 total = boundaries.size() - 1;
    // A negative offset reads from the start.
    const qint64 start = std::clamp<qint64>(args.offset.value_or(0), 0, total);
    const qint64 size =
        args.maxChars ? std::max(*args.maxChars, Bridge::minPageSize) : Bridge::defaultPageSize;
    const qint64 end = std::min(start + size, total);
    if (start > 0 || start + size < total) {
        QString paging = u"markdown: characters %1–%2 of %3"_s.arg(start).arg(end).arg(total);
        if (start + size < total)
            paging += u"; call read_note with offset %1 for the rest"_s.arg(end);
        lines.append(paging);
    }

    if (start == 0 && m_imagesDirectory) {
        for (const QString& name : AgentOps::imageNames(note.markdown)) {
            if (images.size() >= Bridge::maxImagesPerRead) {
                lines.append(u"image %1: not attached (at most %2 images per read)"_s.arg(
                    name, QString::number(Bridge::maxImagesPerRead)));
                continue;
            }
            const auto mimeType = imageMimeType(name);
            const auto bytes =
                mimeType ? readImage(*m_imagesDirectory + QLatin1Char('/') + name) : std::nullopt;
            if (!bytes) {
                lines.append(u"image %1: not attached (missing, over %2 MB, or not an image)"_s.arg(
                    name, QString::number(Bridge::maxImageBytes / (1024 * 1024))));
                continue;
            }
            images.append({QString::fromLatin1(bytes->toBase64()), *mimeType});
            lines.append(u"image %1: %2"_s.arg(images.size()).arg(name));
        }
    }
    const QString page = note.markdown.mid(boundaries.at(start), boundaries.at(end) - boundaries.at(start));
    return lines.join(QLatin1Char('\n')) + u"\n---\n"_s + page;
}

void AgentTools::createNotes(const Args::CreateArgs& args, const QString& agent, const Done& done) {
    if (args.notes.size() > Bridge::maxNotesPerCreate)
        return done(
            AgentError{ErrorCode::tooLarge,
                       u"create_notes takes at most %1 notes per call; you sent %2. Split them."_s.arg(
                           QString::number(Bridge::maxNotesPerCreate), QString::number(args.notes.size()))});
    if (args.notes.isEmpty())
        return done(AgentError{ErrorCode::invalidArguments, u"create_notes needs at least one note."_s});
    QList<StickyAccess::AgentNote> notes;
    for (const Args::NewNote& note : args.notes) {
        std::optional<Store::StickyColor> color;
        if (note.color) {
            color = Store::stickyColorIfKnown(*note.color);
            if (!color)
                return done(
                    AgentError{ErrorCode::invalidArguments,
                               u"Unknown color \"%1\". Use one of: %2."_s.arg(*note.color, colorNameList())});
        }
        const auto markdown = checkedMarkdown(note.markdown);
        if (!markdown)
            return done(markdown.error());
        notes.append({*markdown, color.value_or(Store::defaultStickyColor())});
    }
    const QUuid batchID = QUuid::createUuid();
    const auto batch = m_stickies.createBatchForAgent(notes, batchID, agent);
    if (!batch)
        return done(AgentError{ErrorCode::unavailable,
                               u"Dovrin couldn't save the notes. Nothing was created. Try again."_s});
    m_activity.recordCreated(agent, int(batch->notes.size()), batchID, batch->parked);
    QJsonArray created;
    for (const Note& note : batch->notes)
        created.append(QJsonObject{
            {"id", note.idText()}, {"title", note.title()}, {"rev", note.rev}, {"link", note.link()}});
    done(ToolOutput{
        Bridge::renderJsonText(QJsonObject{{"batch_id", Store::idText(batchID)}, {"notes", created}}), {}});
}

void AgentTools::updateNote(const Args::UpdateArgs& args, const QString& agent, const Done& done) {
    resolve(args.note, [this, args, agent, done](AgentResult<Note> resolved) {
        if (!resolved)
            return done(resolved.error());
        const Note& note = *resolved;
        if (note.rev != args.expectedRev)
            return done(AgentOps::conflict(note.rev, note.markdown));
        const auto markdown = checkedMarkdown(args.markdown);
        if (!markdown)
            return done(markdown.error());
        AgentResult<QString> body = *markdown;
        switch (args.op) {
        case Args::Op::append:
            body = AgentOps::append(*markdown, note.markdown);
            break;
        case Args::Op::replaceSection:
            body = AgentOps::replaceSection(*markdown, note.markdown);
            break;
        case Args::Op::replaceAll:
            break;
        }
        if (!body)
            return done(body.error());
        const auto checkedBody = checkedMarkdown(*body);
        if (!checkedBody)
            return done(checkedBody.error());
        const auto change =
            args.op == Args::Op::append ? AgentActivity::Change::appended : AgentActivity::Change::changed;
        writeNote(note, *checkedBody, change, agent, [done](AgentResult<Note> written) {
            if (!written)
                return done(written.error());
            done(ToolOutput{Bridge::renderJsonText(QJsonObject{
                                {"id", written->idText()}, {"rev", written->rev}, {"link", written->link()}}),
                            {}});
        });
    });
}

void AgentTools::setTodo(const Args::SetTodoArgs& args, const QString& agent, const Done& done) {
    if (args.index.has_value() == args.match.has_value())
        return done(AgentError{ErrorCode::invalidArguments, u"Pass exactly one of index or match."_s});
    resolve(args.note, [this, args, agent, done](AgentResult<Note> resolved) {
        if (!resolved)
            return done(resolved.error());
        const Note& note = *resolved;
        AgentOps::TodoTarget target = args.match.value_or(QString());
        if (args.index)
            target = *args.index;
        const auto outcome = AgentOps::setTodo(target, args.checked, note.markdown);
        if (!outcome)
            return done(outcome.error());
        const auto answer = [done, todo = outcome->todo](const Note& after) {
            const QJsonObject object{
                {"id", after.idText()},
                {"rev", after.rev},
                {"todo", QJsonObject{{"index", todo.index}, {"text", todo.text}, {"checked", todo.checked}}}};
            done(ToolOutput{Bridge::renderJsonText(object), {}});
        };
        if (outcome->markdown == note.markdown)
            return answer(note);
        const auto change = args.checked ? AgentActivity::Change::checked : AgentActivity::Change::unchecked;
        writeNote(note, outcome->markdown, change, agent, [done, answer](AgentResult<Note> written) {
            if (!written)
                return done(written.error());
            answer(*written);
        });
    });
}

void AgentTools::deleteNote(const Args::NoteArgs& args, const QString& agent, const Done& done) {
    resolve(args.note, [this, agent, done](AgentResult<Note> resolved) {
        if (!resolved)
            return done(resolved.error());
        const Note note = *resolved;
        const bool userIsTyping = m_stickies.hasOpenSticky(note.id) && m_stickies.isStickyKey(note.id) &&
                                  !note.agentLabel &&
                                  note.updatedAt.msecsTo(m_clock.now()) < userEditingWindowMs;
        if (userIsTyping)
            return done(AgentError{ErrorCode::conflict, u"The user is editing this note right now."_s});
        m_stickies.deleteNotesForAgent(
            {note.id}, agent, whileAlive([this, note, agent, done](QList<QUuid> deleted) {
                if (!deleted.contains(note.id))
                    return done(unsaved());
                m_activity.recordDeleted(agent, note.id, note.title());
                const QJsonObject object{
                    {"id", note.idText()},
                    {"deleted", true},
                    {"message", u"Moved to Recently Deleted; the user can restore it for 30 days."_s}};
                done(ToolOutput{Bridge::renderJsonText(object), {}});
            }));
    });
}

void AgentTools::writeNote(const Note& before, const QString& markdown, AgentActivity::Change change,
                           const QString& agent, NoteDone done) {
    // A write that changes nothing keeps the rev, the undo snapshot, the undo list and the toasts.
    if (markdown == before.markdown)
        return done(before);
    const auto action = change == AgentActivity::Change::checked ? Store::AgentLabel::Action::checkedOff
                                                                 : Store::AgentLabel::Action::edited;
    const bool join = m_activity.joinsEdit(agent, before.id);
    // After the write: label, sticky, undo snapshot and activity record.
    const auto finish = [this, before, change, agent, join, done](const Note& note) {
        m_provenance.note(note);
        if (m_stickies.hasOpenSticky(note.id))
            m_stickies.refreshSticky(note.id);
        if (const auto saved = m_store.saveSnapshot(before, note.rev, join); !saved)
            Store::logStoreError(saved.error());
        m_activity.recordEdited(note.id, change, agent);
        done(note);
    };
    if (!m_stickies.hasOpenSticky(before.id)) {
        const auto written = m_store.updateMarkdown(before.id, markdown, m_clock.now(), agent, action);
        if (!written)
            Store::logStoreError(written.error());
        if (!written || !*written)
            return done(unsaved());
        if ((*written)->rev == before.rev)
            return done(**written);
        return finish(**written);
    }
    // The open sticky merges the text with the user's typing and saves the merge itself; writing the
    // AI's text again here would throw that typing away.
    m_stickies.applyExternalEdit(
        before.id, markdown, before.rev, agent, action,
        whileAlive([this, id = before.id, finish, done](StickyAccess::EditOutcome outcome) {
            using Status = StickyAccess::EditOutcome::Status;
            switch (outcome.status) {
            case Status::conflict:
                return done(AgentOps::conflict(outcome.rev, outcome.markdown));
            case Status::unsaved:
                return done(unsaved());
            case Status::unchanged:
            case Status::applied:
                break;
            }
            const auto stored = m_store.note(id);
            if (!stored)
                Store::logStoreError(stored.error());
            if (!stored || !*stored || (*stored)->deletedAt)
                return done(unsaved());
            if (outcome.status == Status::unchanged)
                return done(**stored);
            finish(**stored);
        }));
}

} // namespace Dovrin::Agent
