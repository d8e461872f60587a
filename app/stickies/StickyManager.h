#pragma once

#include "app/core/Clock.h"
#include "app/stickies/EditorPump.h"
#include "app/stickies/NoteLinks.h"
#include "app/stickies/ScreenChanges.h"
#include "app/store/Note.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>
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

class StickyController;

// The one owner of open stickies: it places new ones, brings back those open at the last quit, keeps
// them on screens that exist, hides and shows them all, closes and deletes them and shows what an AI
// created. Its editor pump gives each sticky its editor page; its note links bring notes up.
class StickyManager final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(StickyManager)

public:
    StickyManager(Store::NoteStore& store, Agent::Provenance& provenance,
                  Core::Clock& clock = Core::Clock::system(), QObject* parent = nullptr);
    ~StickyManager() override;

    Store::NoteStore& store() { return m_store; }
    NoteLinks& links() { return m_links; }
    // What a note link to the settings' "open at login" calls.
    void setOpenAtLoginLinkClicked(std::function<void()> callback) {
        m_links.setOpenAtLoginLinkClicked(std::move(callback));
    }
    // What the link to the guide for connecting an AI calls.
    void setConnectLinkClicked(std::function<void()> callback) {
        m_links.setConnectLinkClicked(std::move(callback));
    }
    // Application-wide actions (search, settings, hide all, quit…) whose shortcuts work in every sticky.
    void setApplicationActions(const QList<QAction*>& shortcuts);
    // Without a tray icon (or when the user asks for it) stickies get taskbar entries and offer the app's
    // menu at the end of their own.
    void setShowsInTaskbar(bool shown);
    void setApplicationMenu(QMenu* menu);

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
    // A yellow welcome note near the top of the main screen, in the launched language; the tip about the
    // new-sticky shortcut only when `newStickyShortcut` (its display text) is not empty.
    StickyController* showWelcomeNote(const QString& newStickyShortcut);

    StickyController* open(const Store::Note& note, bool activate, bool animate, qint64 requestedAtMs);
    void orderFront(StickyController& sticky, bool activate);
    void showStaggered(const QList<Store::Note>& notes, bool overFullScreen);
    void bringAllToFront();

    void hideAll(std::function<void()> done = {});
    void showAll();

    // Moves the notes to Recently Deleted, each sticky's typing saved first; `done` gets those moved.
    void deleteNotesForAgent(const QList<QUuid>& ids, const std::optional<QString>& deletedBy,
                             std::function<void(QList<QUuid> deleted)> done);
    void restoreFromRecentlyDeleted(const QUuid& id);
    // Saves every sticky's text and window state at once; `done` gets how many stickies there were.
    void flushAll(std::function<void(int flushed)> done);

    // Note links ("dovrin://note/<id>", "dovrin://settings/login", "dovrin://connect"); other schemes go to
    // the desktop.
    void openUrl(const QUrl& url) { m_links.openUrl(url); }

    // Screen set-up changed: every sticky is put back on a screen that exists.
    void screensChanged();

signals:
    // A sticky opened or went away.
    void stickiesChanged();

private:
    void connectSticky(StickyController& sticky);
    // False when the note could not be moved; the sticky then stays open.
    bool deleteSticky(StickyController& sticky, const std::optional<QString>& deletedBy);
    void dismiss(StickyController& sticky, bool fade = true);
    // Flushes one sticky after another, each once the one before has answered. `stickyAt(i)` finds the
    // i-th; `each` gets it after its flush (not at all when it went meanwhile), or null when there was none.
    void flushInTurn(qsizetype count, std::function<StickyController*(qsizetype)> stickyAt,
                     std::function<void(qsizetype, StickyController*)> each, std::function<void()> done,
                     qsizetype index = 0);
    void reveal(StickyController& sticky, bool overFullScreen, bool reduceMotion);
    void moveToFront(const QUuid& id);
    QList<Store::Note> openNotes();

    Store::NoteStore& m_store;
    Agent::Provenance& m_provenance;
    Core::Clock& m_clock;
    std::vector<std::unique_ptr<StickyController>> m_stickies;
    bool m_isHidingAll = false;
    QList<QUuid> m_hiddenOrder;
    EditorPump m_pump{m_stickies};
    NoteLinks m_links{*this, m_store, m_clock};
    QPointer<StickyController> m_newest;
    // Back-most first; a sticky moves to the end when it is ordered front or becomes key.
    QList<QUuid> m_stacking;
    QList<QAction*> m_applicationShortcuts;
    bool m_showsInTaskbar = false;
    QPointer<QMenu> m_applicationMenu;
    ScreenChanges m_screenChanges;
};

} // namespace Dovrin::Stickies
