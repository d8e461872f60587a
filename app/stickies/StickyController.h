#pragma once

#include "app/agent/StickyAccess.h"
#include "app/core/Clock.h"
#include "app/stickies/ImageStore.h"
#include "app/store/Note.h"

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWebEngineView>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace Dovrin::Store {
class NoteStore;
}

namespace Dovrin::Stickies {

class EditorPage;
class EditorPopovers;
class StickyMenu;
class StickyPanel;
class StickyViewState;
enum class StickyAction;

// One open note: its window, the editor shown in it and the note as the app last knows it. What the user
// types is saved as the page reports it; where the window is, is saved shortly after it stops changing.
class StickyController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(StickyController)

public:
    // Markdown by rev kept for merging an AI's edit against the text it started from.
    static constexpr std::size_t keptRevisions = 64;
    static constexpr qint64 windowSaveDelayMs = 400;

    using EditOutcome = Agent::StickyAccess::EditOutcome;

    StickyController(Store::NoteStore& store, const Store::Note& note, bool focusWhenReady,
                     Core::Clock& clock = Core::Clock::system(), QObject* parent = nullptr);
    ~StickyController() override;

    QUuid id() const { return m_id; }
    const Store::Note& note() const;
    StickyPanel* panel() const { return m_panel.get(); }
    StickyViewState* state() const { return m_state; }
    QWebEngineView* webView() const { return m_webView; }
    EditorPage* page() const;
    StickyMenu& menu() const { return *m_menu; }
    bool isEditorReady() const { return m_isEditorReady; }

    // Shows the page in the window and takes it over; the page's "ready" fills it with the note.
    void attachEditor(EditorPage* page);
    // Before the page is replaced (its process died): the page goes and the editor is no longer ready.
    void detachEditor();
    void setFocusWhenReady(bool focus) { m_focusWhenReady = focus; }
    // When the sticky was asked for, on the clock's monotonic scale, for the open time it logs.
    void setRequestedAt(qint64 monotonicMs) { m_requestedAtMs = monotonicMs; }
    // While set, moves and resizes are the app's own and are not recorded.
    void setPlacing(bool placing) { m_isPlacing = placing; }
    // Takes the text, rev and label the database holds now, after a change made behind the editor's back.
    void refreshFromStore();

    // Saves what the editor holds when it differs from what was last saved; `done` runs afterwards, also
    // when this sticky goes meanwhile (then from the event loop).
    void flush(std::function<void()> done = {});
    // Writes the markdown as a new revision when it differs; no editor means the user. False when the
    // note could not be written or is gone.
    bool save(const QString& markdown, const std::optional<QString>& editor = std::nullopt,
              Store::AgentLabel::Action action = Store::AgentLabel::Action::edited);
    // Merges an AI's markdown, written against `baseRev`, into the note; `done` runs exactly once.
    void applyExternalEdit(const QString& markdown, qint64 baseRev, const QString& editor,
                           Store::AgentLabel::Action action, std::function<void(EditOutcome)> done);

    void setColor(Store::StickyColor color);
    void toggleFloating();
    void toggleCollapsed();

    // The note's link on the clipboard, when the note has text.
    void copyLink();
    // The note's markdown on the clipboard, images reduced to their descriptions.
    void copyText();

    void scheduleWindowSave();
    void cancelWindowSave();
    bool isWindowSavePending() const { return m_saveTask.isPending(); }
    void saveWindowStateNow();
    // Saves everything, hides the window and closes the note; an empty note is discarded for good.
    void close(std::function<void(bool discarded)> done = {});
    // Saves everything, then asks the owner to move the note to Recently Deleted.
    void requestDelete();
    // Deleting failed: the sticky stays, and can be closed or deleted again.
    void cancelEnding() { m_isEnding = false; }

signals:
    // The page reported ready and has been filled.
    void editorReady();
    void closed(bool discarded);
    // The user opened a link in the note.
    void linkRequested(const QUrl& url);
    void newStickyRequested();
    // Everything is saved; the note is to go to Recently Deleted.
    void deleteRequested();
    // The editor's render process died; every page must be made again.
    void editorProcessTerminated();

private:
    void replaceNote(const Store::Note& note);
    void handleMessage(const QString& type, const QJsonObject& body);
    void fill(const QJsonObject& body);
    void storeImage(const QJsonObject& body);
    void recordFrame();
    void handleAction(StickyAction action);
    EditOutcome saveAgentEdit(const QString& markdown, const QString& editor,
                              Store::AgentLabel::Action action);
    void conflict(const QString& reason, const QString& editor, std::function<void(EditOutcome)> done);

    Store::NoteStore& m_store;
    Core::Clock& m_clock;
    QUuid m_id;
    std::unique_ptr<StickyPanel> m_panel;
    // Declared after the panel, so that its overlay windows go before the panel they belong to.
    std::unique_ptr<EditorPopovers> m_popovers;
    StickyMenu* m_menu = nullptr;
    StickyViewState* m_state = nullptr;
    QPointer<EditorPage> m_page;
    QPointer<QWebEngineView> m_webView;
    bool m_isEditorReady = false;
    bool m_focusWhenReady = false;
    qint64 m_requestedAtMs = 0;
    std::optional<QString> m_editorBaseline;
    Core::ScheduledTask m_saveTask;
    bool m_isPlacing = false;
    // Closing or deleting has begun; a second request is ignored.
    bool m_isEnding = false;
    std::map<qint64, QString> m_revisions;
    ImageStore m_images;
};

} // namespace Dovrin::Stickies
