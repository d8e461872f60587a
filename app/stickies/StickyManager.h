#pragma once

#include "Clock.h"
#include "Note.h"
#include "StickyAccess.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QMenu;
class QScreen;

namespace Dovrin::Store {
class NoteStore;
}

namespace Dovrin::Agent {
class Provenance;
}

namespace Dovrin::Stickies {

class EditorPage;
class FullScreenWatch;
class StickyController;

// The one owner of open stickies: it places new ones, brings back those open at the last quit, keeps
// them on screens that exist, hides and shows them all, closes and deletes them, opens note links and
// shows what an AI created. It also decides when each sticky gets its editor page: the first is loaded
// from scratch, every later one is spawned by a ready page, one request at a time.
class StickyManager final : public QObject, public Agent::StickyAccess {
    Q_OBJECT
    Q_DISABLE_COPY(StickyManager)

public:
    StickyManager(Store::NoteStore& store, Agent::Provenance& provenance,
                  Agent::Clock& clock = Agent::Clock::system(), QObject* parent = nullptr);
    ~StickyManager() override;

    // What a note link to the settings' "open at login" calls.
    void setOpenAtLoginLinkClicked(std::function<void()> callback);
    // Application-wide actions (search, settings, hide all, quit…) whose shortcuts work in every sticky.
    void setApplicationActions(const QList<QAction*>& shortcuts);
    // Without a tray icon (or when the user asks for it) stickies get taskbar entries and offer the app's
    // menu at the end of their own.
    void setShowsInTaskbar(bool shown);
    void setApplicationMenu(QMenu* menu);
    // Whether a full-screen window of another application covers a screen; replaces the desktop's check.
    void setFullScreenCheck(std::function<bool(const QScreen&)> check);

    // Lookup.
    StickyController* sticky(const QUuid& id) const;
    QList<StickyController*> stickies() const;
    bool isHidingAll() const { return m_isHidingAll; }
    // Open stickies, back-most first, as the user last stacked them.
    QList<StickyController*> stackingOrder() const;

    // Launch: reopens the notes that were open, the most recently updated in front.
    void restoreOpenStickies();

    // New stickies; y-up screen coordinates throughout.
    void newStickyAtMouse();
    void newStickyBelow(const QRectF& anchor);
    void newStickyAfter(StickyController& source);
    StickyController* create(Store::StickyColor color, const QString& markdown, const QRectF& frame);

    StickyController* open(const Store::Note& note, bool activate, bool animate, qint64 requestedAtMs);
    void showStaggered(const QList<Store::Note>& notes, bool overFullScreen);
    void bringAllToFront();
    // Expands the note's sticky if collapsed and brings it (or the note) up as its link does.
    void revealNote(const QUuid& id);

    void hideAll(std::function<void()> done = {});
    void showAll();

    void restoreFromRecentlyDeleted(const QUuid& id);
    // Saves every sticky's text and window state at once; `done` gets how many stickies there were.
    void flushAll(std::function<void(int flushed)> done);

    // Note links ("dovrin://note/<id>", "dovrin://settings/login"); other schemes go to the desktop.
    void openUrl(const QUrl& url);

    // Screen set-up changed: every sticky is put back on a screen that exists.
    void screensChanged();
    // A space or application change: parked notes show once their screen is clear.
    void showParkedIfClear();

    // The agent side's view of the open stickies.
    Store::NoteStore& store() override { return m_store; }
    bool hasOpenSticky(const QUuid& id) const override;
    bool isStickyLive(const QUuid& id) const override;
    bool isStickyKey(const QUuid& id) const override;
    void currentNote(const QUuid& id, std::function<void(std::optional<Store::Note>)> done) override;
    void applyExternalEdit(const QUuid& id, const QString& markdown, qint64 baseRev, const QString& editor,
                           Store::AgentLabel::Action action, std::function<void(EditOutcome)> done) override;
    void refreshSticky(const QUuid& id) override;
    std::optional<Batch> createBatchForAgent(const QList<AgentNote>& notes, const QUuid& batchID,
                                             const QString& agent) override;
    void deleteNotesForAgent(const QList<QUuid>& ids, const std::optional<QString>& deletedBy,
                             std::function<void(QList<QUuid> deleted)> done) override;
    void undoAgentDeletion(const QList<QUuid>& ids) override;
    void showNote(const QUuid& id) override;
    void showParked() override;

signals:
    // A sticky opened or went away.
    void stickiesChanged();

private:
    struct Parked {
        QList<Store::Note> notes;
        QPointer<QScreen> screen;
    };

    void connectSticky(StickyController& sticky);
    // False when the note could not be moved; the sticky then stays open.
    bool deleteSticky(StickyController& sticky, const std::optional<QString>& deletedBy);
    void dismiss(StickyController& sticky, bool fade = true);
    void hideNext(QList<QPointer<StickyController>> hiding, qsizetype index, std::function<void()> done);
    void deleteNext(QList<QUuid> ids, std::optional<QString> deletedBy, QList<QUuid> deleted,
                    std::function<void(QList<QUuid> deleted)> done);
    void openNoteLink(const QUuid& id);
    void reveal(StickyController& sticky, bool overFullScreen, bool reduceMotion);
    void orderFront(StickyController& sticky, bool activate);
    void moveToFront(const QUuid& id);
    bool isScreenOccupied(const QScreen& screen) const;
    QList<Store::Note> openNotes();

    void runEditorPump();
    void attachNewPage(StickyController& sticky, EditorPage* page);
    EditorPage* windowRequested(const QUrl& url);
    void editorProcessTerminated(const QUuid& reportedBy);

    Store::NoteStore& m_store;
    Agent::Provenance& m_provenance;
    Agent::Clock& m_clock;
    std::vector<std::unique_ptr<StickyController>> m_stickies;
    bool m_isHidingAll = false;
    QList<QUuid> m_hiddenOrder;
    QList<QPointer<StickyController>> m_pendingEditors;
    QPointer<StickyController> m_openerInFlight;
    QPointer<StickyController> m_bootstrapping;
    QPointer<StickyController> m_newest;
    std::optional<Parked> m_parked;
    std::function<void()> m_openAtLoginLinkClicked;
    std::function<bool(const QScreen&)> m_fullScreenCheck;
    // Back-most first; a sticky moves to the end when it is ordered front or becomes key.
    QList<QUuid> m_stacking;
    QList<QAction*> m_applicationShortcuts;
    bool m_showsInTaskbar = false;
    QPointer<QMenu> m_applicationMenu;
    FullScreenWatch* m_fullScreenWatch = nullptr;
    QTimer m_screensTimer;
    // Counts window requests, so that a late time-out of an answered one does nothing.
    quint64 m_windowRequests = 0;
};

} // namespace Dovrin::Stickies
