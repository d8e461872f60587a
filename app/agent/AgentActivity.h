#pragma once

#include "app/agent/Toasts.h"
#include "app/core/Clock.h"
#include "shared/bridge/AIAccess.h"
#include "shared/bridge/SharedSettings.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUuid>

#include <optional>
#include <variant>

namespace Dovrin::Store {
class NoteStore;
}

namespace Dovrin::Agent {

class Provenance;
class StickyAccess;

// What AI agents are doing and have done: the access level, the activity icon's state, the undoable AI
// changes with their toasts, and what the AI items of the tray menu show. Main thread only.
class AgentActivity final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(AgentActivity)

public:
    static constexpr int maxUndoable = 20;
    // The icon shows activity until this long after the last call ended.
    static constexpr qint64 idleDelayMs = 3000;
    // Uses are written to the settings file this long after the first unsaved one, so that a burst of calls
    // costs one write instead of two per call.
    static constexpr qint64 saveDelayMs = 2000;

    enum class Change { appended, changed, checked, unchecked };

    struct Created {
        int count = 0;
        QList<QUuid> batches;
        // Some notes were created out of sight.
        bool parked = false;
    };
    struct Edited {
        QUuid note;
        QString title;
        QList<Change> changes;
        // The user could watch every change happen (open, uncollapsed sticky).
        bool live = false;
    };
    struct DeletedNote {
        QUuid note;
        QString title;
    };
    struct Deleted {
        QList<DeletedNote> notes;
    };
    using Summary = std::variant<Created, Edited, Deleted>;

    struct Entry {
        QUuid id;
        QString agent;
        Summary summary;
    };

    struct LastUsed {
        QString agent;
        QDateTime at;
    };

    // What the AI items of the tray menu show when it opens.
    struct MenuState {
        // The most recent entry that can still be undone; no entry hides the Undo item.
        std::optional<QUuid> undoEntry;
        QString undoTitle;
        // No text hides the information line.
        std::optional<QString> info;
        Bridge::AIAccess access = Bridge::AIAccess::readWrite;
    };

    // `settingsFile` is the shared settings file ("settings.json" in the data directory); nothing means the
    // data directory is unavailable: access reads as read & write and nothing is written. The settings are
    // kept in memory and read again only when another process has changed the file.
    AgentActivity(StickyAccess& stickies, Store::NoteStore& store, Provenance& provenance, Core::Clock& clock,
                  std::optional<QString> settingsFile, QObject* parent = nullptr);
    // The settings file in the data directory, the shared ✦ table and the system clock.
    AgentActivity(StickyAccess& stickies, Store::NoteStore& store, QObject* parent = nullptr);
    // Writes the uses not yet saved.
    ~AgentActivity() override;

    Toasts& toasts() { return m_toasts; }

    Bridge::AIAccess access() const;
    void setAccess(Bridge::AIAccess access);

    void callStarted(const QString& agent);
    void callEnded(const QString& agent);
    // `wantedToWrite`: a write refused under read only; otherwise any call refused with access off.
    void denied(const QString& agent, bool wantedToWrite);

    void recordCreated(const QString& agent, int count, const QUuid& batchID, bool parked);
    void recordEdited(const QUuid& note, Change change, const QString& agent);
    void recordDeleted(const QString& agent, const QUuid& note, const QString& title);

    // True when recording an edit of this note by this agent now would join the previous one (its
    // edited toast shows and its entry can still be joined). The write tools pass it as the snapshot's
    // join flag, so that undo returns to the text before the whole joined run.
    bool joinsEdit(const QString& agent, const QUuid& note) const;

    // A user edit took the AI's label off the note: its edits can no longer be undone, so their toast goes.
    void userEdited(const QUuid& note);

    MenuState refreshMenu() const;
    // Removes the entry and its toast, then reverses the change. Unknown ids do nothing.
    void undo(const QUuid& entryID);

    const QList<Entry>& undoable() const { return m_undoable; }
    bool canUndo(const Entry& entry) const;

    // "Undo Claude: Edit “Groceries”"
    static QString undoTitle(const Entry& entry);
    // "Claude edited “Groceries”."
    static QString message(const Entry& entry);

signals:
    // The tray icon should show the activity image (true) or the normal one.
    void activeChanged(bool active);
    void accessChanged(Bridge::AIAccess access);
    // The list of undoable entries changed (the menu's Undo item may change).
    void undoableChanged();

private:
    struct Recording {
        ToastKey key;
        std::function<Summary()> fresh;
        std::function<void(Summary&)> join;
    };

    // Enough to notice that another process wrote the file: an atomic replace brings a new inode, an edit in
    // place a new size or change time.
    struct FileStamp {
        bool exists = false;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 changedSec = 0;
        qint64 changedNsec = 0;
        bool operator==(const FileStamp&) const = default;
    };

    static FileStamp fileStamp(const QString& path);
    const Bridge::SharedSettings& settings() const;
    // Re-reads the file and writes back only what this run changed (the access level when given, the unsaved
    // uses), so that keys another process changed meanwhile survive.
    Result<void, QString> saveSettings(std::optional<Bridge::AIAccess> access);
    void markUsed(const QString& agent);
    void showActive(bool active);
    void record(const QString& agent, const Recording& recording);
    Entry* joinableEntry(const ToastKey& key);
    const Entry* joinableEntry(const ToastKey& key) const;
    void showToast(const Entry& entry, const ToastKey& key);
    void reverse(const Entry& entry);
    void reverseEdit(const QString& agent, const Edited& edited);

    StickyAccess& m_stickies;
    Store::NoteStore& m_store;
    Provenance& m_provenance;
    Core::Clock& m_clock;
    std::optional<QString> m_settingsFile;
    // The file as last read; no stamp means it must be read again.
    mutable Bridge::SharedSettings m_settings;
    mutable std::optional<FileStamp> m_settingsStamp;
    QMap<QString, QDateTime> m_unsavedUses;
    Core::ScheduledTask m_saveTask;
    Toasts m_toasts;
    QList<Entry> m_undoable;
    std::optional<LastUsed> m_lastUsed;
    int m_activeCalls = 0;
    bool m_isShowingActive = false;
    Core::ScheduledTask m_idleTask;
    QSet<QString> m_deniedThisSession;
    // Agents seen in this run, so that an unwritable settings file does not repeat the connected toast.
    QSet<QString> m_usedThisSession;
};

} // namespace Dovrin::Agent
