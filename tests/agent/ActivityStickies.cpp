#include "tests/agent/ActivityStickies.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace Dovrin::Agent {

ActivityStickies::ActivityStickies() {
    auto opened = Store::NoteStore::open(m_folder.filePath(u"Dovrin.sqlite"_s));
    if (!opened)
        qFatal("can't open the test database: %s", qPrintable(opened.error().description));
    m_store = std::move(opened).value();
}

void ActivityStickies::currentNote(const QUuid& id, std::function<void(std::optional<Store::Note>)> done) {
    if (!open.contains(id)) {
        done(std::nullopt);
        return;
    }
    done(reload(id));
}

void ActivityStickies::applyExternalEdit(const QUuid& id, const QString& markdown, qint64 baseRev,
                                         const QString& editor, Store::AgentLabel::Action action,
                                         std::function<void(EditOutcome)> done) {
    using Status = EditOutcome::Status;
    const Store::Note current = reload(id);
    if (editorConflicts || current.rev != baseRev) {
        done(EditOutcome{Status::conflict, current.rev, current.markdown});
        return;
    }
    const auto written =
        m_store->updateMarkdown(id, markdown, QDateTime::currentDateTimeUtc(), editor, action);
    if (!written || !written->has_value()) {
        done(EditOutcome{Status::unsaved, 0, {}});
        return;
    }
    const Status status = (*written)->rev == current.rev ? Status::unchanged : Status::applied;
    done(EditOutcome{status, (*written)->rev, (*written)->markdown});
}

std::optional<StickyAccess::Batch> ActivityStickies::createBatchForAgent(const QList<AgentNote>& notes,
                                                                         const QUuid& batchID,
                                                                         const QString& agent) {
    QList<Store::NoteStore::NewNote> fresh;
    for (const AgentNote& note : notes)
        fresh.append(
            Store::NoteStore::NewNote{note.markdown, note.color, QRectF(0, 0, 240, 200), std::nullopt});
    const auto created = m_store->create(fresh, agent, batchID, QDateTime::currentDateTimeUtc());
    if (!created)
        return std::nullopt;
    return Batch{*created, false};
}

void ActivityStickies::deleteNotesForAgent(const QList<QUuid>& ids, const std::optional<QString>& deletedBy,
                                           std::function<void(QList<QUuid>)> done) {
    QList<QUuid> deleted;
    for (const QUuid& id : ids) {
        if (!m_store->moveToRecentlyDeleted(id, QDateTime::currentDateTimeUtc(), deletedBy))
            continue;
        open.remove(id);
        deleted.append(id);
    }
    done(deleted);
}

void ActivityStickies::undoAgentDeletion(const QList<QUuid>& ids) {
    for (const QUuid& id : ids)
        QVERIFY(m_store->restore(id).ok());
}

Store::Note ActivityStickies::userNote(const QString& markdown) {
    const auto created = m_store->create({Store::NoteStore::NewNote{markdown, Store::StickyColor::yellow,
                                                                    QRectF(0, 0, 240, 200), std::nullopt}},
                                         u"user"_s, std::nullopt, QDateTime::currentDateTimeUtc());
    if (!created)
        qFatal("can't create a note: %s", qPrintable(created.error().description));
    return created->first();
}

Store::Note ActivityStickies::reload(const QUuid& id) {
    const auto note = m_store->note(id);
    if (!note || !note->has_value())
        qFatal("note %s is gone", qPrintable(id.toString()));
    return **note;
}

} // namespace Dovrin::Agent
