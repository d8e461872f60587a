#include "ActivityStickies.h"

#include <QtTest>

namespace Dovrin::Agent {

ActivityStickies::ActivityStickies() {
    auto opened = Store::NoteStore::open(m_folder.filePath(QStringLiteral("Dovrin.sqlite")));
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
    const Store::Note current = reload(id);
    if (editorConflicts || current.rev != baseRev) {
        done(EditOutcome{false, current.rev, current.markdown});
        return;
    }
    const std::optional<QString> agent =
        editor == QLatin1String("user") ? std::nullopt : std::optional<QString>(editor);
    const auto written =
        m_store->updateMarkdown(id, markdown, QDateTime::currentDateTimeUtc(), agent, action);
    if (!written || !written->has_value()) {
        done(EditOutcome{false, current.rev, current.markdown});
        return;
    }
    done(EditOutcome{true, (*written)->rev, (*written)->markdown});
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
                                           std::function<void()> done) {
    for (const QUuid& id : ids) {
        open.remove(id);
        QVERIFY(m_store->moveToRecentlyDeleted(id, QDateTime::currentDateTimeUtc(), deletedBy).ok());
    }
    done();
}

void ActivityStickies::undoAgentDeletion(const QList<QUuid>& ids) {
    for (const QUuid& id : ids)
        QVERIFY(m_store->restore(id).ok());
}

Store::Note ActivityStickies::userNote(const QString& markdown) {
    const auto created =
        m_store->create({Store::NoteStore::NewNote{markdown, Store::StickyColor::yellow,
                                                   QRectF(0, 0, 240, 200), std::nullopt}},
                        QStringLiteral("user"), std::nullopt, QDateTime::currentDateTimeUtc());
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
