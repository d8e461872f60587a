#include "app/agent/AgentActivity.h"

#include "app/agent/Provenance.h"
#include "app/agent/StickyAccess.h"
#include "app/core/Log.h"
#include "app/core/RelativeTime.h"
#include "app/store/NoteStore.h"
#include "app/store/StoreError.h"
#include "shared/bridge/DataDirectory.h"

#include <QFile>
#include <QPointer>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace Dovrin::Agent {

namespace {

template <typename T> const T* summaryAs(const AgentActivity::Entry& entry) {
    return std::get_if<T>(&entry.summary);
}

} // namespace

AgentActivity::AgentActivity(StickyAccess& stickies, Store::NoteStore& store, Provenance& provenance,
                             Core::Clock& clock, std::optional<QString> settingsFile, QObject* parent)
    : QObject(parent), m_stickies(stickies), m_store(store), m_provenance(provenance), m_clock(clock),
      m_settingsFile(std::move(settingsFile)), m_toasts(clock) {
    settings();
}

AgentActivity::AgentActivity(StickyAccess& stickies, Store::NoteStore& store, QObject* parent)
    : AgentActivity(stickies, store, Provenance::shared(), Core::Clock::system(),
                    Bridge::dataFile(QString::fromLatin1(Bridge::settingsFileName)), parent) {}

AgentActivity::~AgentActivity() {
    if (m_unsavedUses.isEmpty())
        return;
    if (const auto written = saveSettings(std::nullopt); !written)
        qCWarning(Core::agentLog, "settings: %s", qUtf8Printable(written.error()));
}

AgentActivity::FileStamp AgentActivity::fileStamp(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {true, quint64(info.st_ino), qint64(info.st_size), qint64(info.st_ctim.tv_sec),
            qint64(info.st_ctim.tv_nsec)};
}

const Bridge::SharedSettings& AgentActivity::settings() const {
    if (!m_settingsFile)
        return m_settings;
    // Taken before reading: a write that lands in between is read again next time.
    const auto stamp = fileStamp(*m_settingsFile);
    if (stamp == m_settingsStamp)
        return m_settings;
    m_settings = Bridge::SharedSettings::readFile(*m_settingsFile);
    for (auto it = m_unsavedUses.cbegin(); it != m_unsavedUses.cend(); ++it)
        m_settings.connectedAIs.insert(it.key(), it.value());
    m_settingsStamp = stamp;
    return m_settings;
}

Result<void, QString> AgentActivity::saveSettings(std::optional<Bridge::AIAccess> access) {
    m_saveTask.reset();
    if (!m_settingsFile)
        return {};
    Bridge::SharedSettings stored = Bridge::SharedSettings::readFile(*m_settingsFile);
    if (access)
        stored.aiAccess = *access;
    for (auto it = m_unsavedUses.cbegin(); it != m_unsavedUses.cend(); ++it)
        stored.connectedAIs.insert(it.key(), it.value());
    const auto written = stored.writeFile(*m_settingsFile);
    if (written)
        m_unsavedUses.clear();
    m_settingsStamp.reset();
    return written;
}

Bridge::AIAccess AgentActivity::access() const {
    return settings().aiAccess;
}

void AgentActivity::setAccess(Bridge::AIAccess access) {
    qCInfo(Core::agentLog, "AI access %s", qUtf8Printable(Bridge::rawValue(access)));
    if (!m_settingsFile)
        return;
    if (const auto written = saveSettings(access); !written) {
        qCWarning(Core::agentLog, "settings: %s", qUtf8Printable(written.error()));
        return;
    }
    emit accessChanged(access);
}

void AgentActivity::callStarted(const QString& agent) {
    const bool known = m_usedThisSession.contains(agent) || settings().connectedAIs.contains(agent);
    if (!known) {
        const QString message =
            tr("%1 is connected to Dovrin.", "Toast the first time an AI app uses Dovrin").arg(agent);
        m_toasts.show(ToastKey{agent, ToastKey::Kind::connected, std::nullopt}, std::nullopt, message, {},
                      message);
    }
    ++m_activeCalls;
    markUsed(agent);
    showActive(true);
}

void AgentActivity::callEnded(const QString& agent) {
    m_activeCalls = qMax(0, m_activeCalls - 1);
    markUsed(agent);
    m_idleTask.start(m_clock, idleDelayMs, [this] {
        if (m_activeCalls == 0)
            showActive(false);
    });
}

void AgentActivity::markUsed(const QString& agent) {
    const QDateTime now = m_clock.now();
    m_lastUsed = LastUsed{agent, now};
    m_usedThisSession.insert(agent);
    if (!m_settingsFile)
        return;
    m_unsavedUses.insert(agent, now);
    m_settings.connectedAIs.insert(agent, now);
    if (m_saveTask.isPending())
        return;
    m_saveTask.start(m_clock, saveDelayMs, [this] {
        if (const auto written = saveSettings(std::nullopt); !written)
            qCWarning(Core::agentLog, "settings: %s", qUtf8Printable(written.error()));
    });
}

void AgentActivity::showActive(bool active) {
    if (active == m_isShowingActive)
        return;
    m_isShowingActive = active;
    qCInfo(Core::agentLog, "tray icon %s", active ? "AI active" : "normal");
    emit activeChanged(active);
}

void AgentActivity::denied(const QString& agent, bool wantedToWrite) {
    const QString key = agent + QLatin1Char('|') + (wantedToWrite ? u"true"_s : u"false"_s);
    if (m_deniedThisSession.contains(key))
        return;
    m_deniedThisSession.insert(key);
    const QString message = wantedToWrite
                                ? tr("%1 wanted to change a note. AI access is Read only.").arg(agent)
                                : tr("%1 tried to use your notes. AI access is off.").arg(agent);
    m_toasts.show(ToastKey{agent, ToastKey::Kind::denied, std::nullopt}, std::nullopt, message, {}, message);
}

void AgentActivity::recordCreated(const QString& agent, int count, const QUuid& batchID, bool parked) {
    record(agent, Recording{ToastKey{agent, ToastKey::Kind::created, std::nullopt},
                            [&] {
                                return Summary(Created{count, {batchID}, parked});
                            },
                            [&](Summary& summary) {
                                auto& created = std::get<Created>(summary);
                                created.count += count;
                                created.batches.append(batchID);
                                created.parked = created.parked || parked;
                            }});
}

void AgentActivity::recordEdited(const QUuid& note, Change change, const QString& agent) {
    QString title;
    if (const auto written = m_store.note(note); !written)
        Store::logStoreError(written.error());
    else if (written.value())
        title = written.value()->title();
    const bool live = m_stickies.isStickyLive(note);
    record(agent, Recording{ToastKey{agent, ToastKey::Kind::edited, note},
                            [&] {
                                return Summary(Edited{note, title, {change}, live});
                            },
                            [&](Summary& summary) {
                                auto& edited = std::get<Edited>(summary);
                                edited.changes.append(change);
                                edited.title = title;
                                edited.live = edited.live && live;
                            }});
}

void AgentActivity::recordDeleted(const QString& agent, const QUuid& note, const QString& title) {
    record(agent, Recording{ToastKey{agent, ToastKey::Kind::deleted, std::nullopt},
                            [&] {
                                return Summary(Deleted{{DeletedNote{note, title}}});
                            },
                            [&](Summary& summary) {
                                std::get<Deleted>(summary).notes.append(DeletedNote{note, title});
                            }});
}

void AgentActivity::record(const QString& agent, const Recording& recording) {
    Entry* entry = joinableEntry(recording.key);
    if (entry) {
        recording.join(entry->summary);
    } else {
        if (m_undoable.size() >= maxUndoable)
            m_undoable.removeFirst();
        m_undoable.append(Entry{QUuid::createUuid(), agent, recording.fresh()});
        entry = &m_undoable.last();
    }
    const Entry shown = *entry;
    emit undoableChanged();
    showToast(shown, recording.key);
}

const AgentActivity::Entry* AgentActivity::joinableEntry(const ToastKey& key) const {
    const std::optional<Toast> toast = m_toasts.toastFor(key);
    if (!toast || !toast->entryID)
        return nullptr;
    for (const Entry& entry : m_undoable) {
        if (entry.id == *toast->entryID)
            return &entry;
    }
    return nullptr;
}

AgentActivity::Entry* AgentActivity::joinableEntry(const ToastKey& key) {
    return const_cast<Entry*>(std::as_const(*this).joinableEntry(key));
}

bool AgentActivity::joinsEdit(const QString& agent, const QUuid& note) const {
    return joinableEntry(ToastKey{agent, ToastKey::Kind::edited, note}) != nullptr;
}

void AgentActivity::showToast(const Entry& entry, const ToastKey& key) {
    QList<ToastAction> actions;
    const QString show = tr("Show", "Toast button");
    if (const auto* created = summaryAs<Created>(entry); created && created->parked)
        actions.append(ToastAction{QUuid::createUuid(), show, [this] { m_stickies.showParked(); }});
    if (const auto* edited = summaryAs<Edited>(entry); edited && !edited->live) {
        const QUuid note = edited->note;
        actions.append(ToastAction{QUuid::createUuid(), show, [this, note] { m_stickies.showNote(note); }});
    }
    const QUuid entryID = entry.id;
    actions.append(
        ToastAction{QUuid::createUuid(), tr("Undo", "Toast button"), [this, entryID] { undo(entryID); }});
    const QString text = message(entry);
    m_toasts.show(key, entry.id, text, actions,
                  tr("%1 Undo is in the Dovrin menu.", "VoiceOver: a toast's message, then where its Undo is")
                      .arg(text));
}

QString AgentActivity::message(const Entry& entry) {
    if (const auto* created = summaryAs<Created>(entry)) {
        if (created->count == 1)
            return tr("%1 added a sticky.", "Toast; one: “added a sticky”").arg(entry.agent);
        return tr("%1 added %2 stickies.", "Toast; one: “added a sticky”")
            .arg(entry.agent, QString::number(created->count));
    }
    if (const auto* edited = summaryAs<Edited>(entry)) {
        const QString title = Store::shownTitle(edited->title);
        const auto all = [&](Change change) {
            return std::all_of(edited->changes.begin(), edited->changes.end(),
                               [&](Change c) { return c == change; });
        };
        const QString count = QString::number(edited->changes.size());
        if (!edited->live)
            return tr("%1 edited “%2”.").arg(entry.agent, title);
        if (all(Change::checked))
            return tr("%1 checked off %2 items in “%3”.").arg(entry.agent, count, title);
        if (all(Change::unchecked))
            return tr("%1 unchecked %2 items in “%3”.").arg(entry.agent, count, title);
        if (all(Change::appended))
            return tr("%1 added to “%2”.").arg(entry.agent, title);
        return tr("%1 changed “%2”.").arg(entry.agent, title);
    }
    const auto& deleted = std::get<Deleted>(entry.summary);
    if (deleted.notes.size() == 1)
        return tr("%1 deleted “%2”.").arg(entry.agent, Store::shownTitle(deleted.notes.first().title));
    return tr("%1 deleted %2 notes.").arg(entry.agent, QString::number(deleted.notes.size()));
}

QString AgentActivity::undoTitle(const Entry& entry) {
    if (const auto* created = summaryAs<Created>(entry)) {
        if (created->count == 1)
            return tr("Undo %1: Add Sticky", "Menu bar; one: “Add Sticky”").arg(entry.agent);
        return tr("Undo %1: Add %2 Stickies", "Menu bar; one: “Add Sticky”")
            .arg(entry.agent, QString::number(created->count));
    }
    if (const auto* edited = summaryAs<Edited>(entry))
        return tr("Undo %1: Edit “%2”").arg(entry.agent, Store::shownTitle(edited->title));
    const auto& deleted = std::get<Deleted>(entry.summary);
    if (deleted.notes.size() == 1)
        return tr("Undo %1: Delete “%2”").arg(entry.agent, Store::shownTitle(deleted.notes.first().title));
    return tr("Undo %1: Delete %2 Notes").arg(entry.agent, QString::number(deleted.notes.size()));
}

bool AgentActivity::canUndo(const Entry& entry) const {
    auto& notes = m_store;
    if (const auto* created = summaryAs<Created>(entry)) {
        const auto active = notes.list(Store::NoteStore::Scope::active);
        if (!active)
            return false;
        return std::any_of(active->begin(), active->end(), [&](const Store::Note& note) {
            return note.batchID && created->batches.contains(*note.batchID);
        });
    }
    if (const auto* edited = summaryAs<Edited>(entry)) {
        const auto snapshot = notes.snapshot(edited->note);
        return snapshot && snapshot->has_value();
    }
    const auto& deleted = std::get<Deleted>(entry.summary);
    return std::any_of(deleted.notes.begin(), deleted.notes.end(), [&](const DeletedNote& gone) {
        const auto note = notes.note(gone.note);
        return note && note->has_value() && (*note)->deletedAt.has_value();
    });
}

AgentActivity::MenuState AgentActivity::refreshMenu() const {
    MenuState state;
    for (auto it = m_undoable.crbegin(); it != m_undoable.crend(); ++it) {
        if (canUndo(*it)) {
            state.undoEntry = it->id;
            state.undoTitle = undoTitle(*it);
            break;
        }
    }
    state.access = access();
    if (state.access == Bridge::AIAccess::off)
        state.info = tr("AI access is off");
    else if (m_lastUsed)
        state.info = tr("%1 used your notes · %2")
                         .arg(m_lastUsed->agent, Core::relativeTime(m_lastUsed->at, m_clock.now()));
    return state;
}

void AgentActivity::userEdited(const QUuid& note) {
    QList<QUuid> gone;
    m_undoable.removeIf([&](const Entry& entry) {
        const auto* edited = summaryAs<Edited>(entry);
        if (!edited || edited->note != note)
            return false;
        gone.append(entry.id);
        return true;
    });
    if (gone.isEmpty())
        return;
    for (const QUuid& id : gone)
        m_toasts.dismiss(id);
    emit undoableChanged();
}

void AgentActivity::undo(const QUuid& entryID) {
    const auto found = std::find_if(m_undoable.cbegin(), m_undoable.cend(),
                                    [&](const Entry& entry) { return entry.id == entryID; });
    if (found == m_undoable.cend())
        return;
    const Entry entry = *found;
    m_undoable.erase(found);
    m_toasts.dismiss(entryID);
    emit undoableChanged();
    qCInfo(Core::agentLog, "undid %s", qUtf8Printable(undoTitle(entry)));
    reverse(entry);
}

void AgentActivity::reverse(const Entry& entry) {
    if (const auto* created = summaryAs<Created>(entry)) {
        const auto active = m_store.list(Store::NoteStore::Scope::active);
        if (!active) {
            Store::logStoreError(active.error());
            return;
        }
        QList<QUuid> ids;
        for (const Store::Note& note : *active) {
            if (note.batchID && created->batches.contains(*note.batchID))
                ids.append(note.id);
        }
        if (!ids.isEmpty())
            m_stickies.deleteNotesForAgent(ids, std::nullopt, [](const QList<QUuid>&) {});
        return;
    }
    if (const auto* edited = summaryAs<Edited>(entry)) {
        reverseEdit(entry.agent, *edited);
        return;
    }
    QList<QUuid> ids;
    for (const DeletedNote& gone : std::get<Deleted>(entry.summary).notes) {
        const auto note = m_store.note(gone.note);
        if (note && note->has_value() && (*note)->deletedAt)
            ids.append(gone.note);
    }
    if (!ids.isEmpty())
        m_stickies.undoAgentDeletion(ids);
}

void AgentActivity::reverseEdit(const QString& agent, const Edited& edited) {
    const auto snapshot = m_store.snapshot(edited.note);
    if (!snapshot) {
        Store::logStoreError(snapshot.error());
        return;
    }
    if (!snapshot->has_value())
        return;
    const Store::NoteStore::Snapshot before = **snapshot;
    const QPointer<AgentActivity> self(this);
    const auto failed = [self, agent] {
        if (!self)
            return;
        const QString message = tr("Dovrin couldn't save the note. Try again.");
        // No note in the key: a later edit of that note must not join this notice.
        self->m_toasts.show(ToastKey{agent, ToastKey::Kind::edited, std::nullopt}, std::nullopt, message, {},
                            message);
    };
    const auto relabel = [self, id = edited.note] {
        if (!self)
            return;
        if (const auto note = self->m_store.note(id); note && note->has_value())
            self->m_provenance.note(**note);
    };
    if (m_stickies.hasOpenSticky(edited.note)) {
        m_stickies.applyExternalEdit(
            edited.note, before.markdown, before.rev, Store::madeByUser, Store::AgentLabel::Action::edited,
            [failed, relabel](StickyAccess::EditOutcome outcome) {
                using Status = StickyAccess::EditOutcome::Status;
                if (outcome.status == Status::applied || outcome.status == Status::unchanged)
                    relabel();
                else
                    failed();
            });
        return;
    }
    const auto written =
        m_store.updateMarkdown(edited.note, before.markdown, m_clock.now(),
                               before.label ? std::optional<QString>(before.label->agent) : std::nullopt,
                               before.label ? before.label->action : Store::AgentLabel::Action::edited);
    if (!written || !written->has_value()) {
        if (!written)
            Store::logStoreError(written.error());
        failed();
        return;
    }
    m_provenance.note(**written);
}

} // namespace Dovrin::Agent
