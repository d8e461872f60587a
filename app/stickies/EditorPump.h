#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QUuid>

#include <memory>
#include <vector>

namespace Dovrin::Stickies {

class EditorPage;
class StickyController;

// Hands every sticky its editor page. Only the first page is loaded from scratch; every later one is
// spawned by a ready page, one window request at a time, first come first served.
class EditorPump final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(EditorPump)

public:
    // `stickies` are the sticky manager's, in the order they opened; a ready one spawns the next page.
    explicit EditorPump(const std::vector<std::unique_ptr<StickyController>>& stickies,
                        QObject* parent = nullptr);

    // The sticky waits for a page.
    void enqueue(StickyController& sticky);
    // The sticky is going: it no longer waits, asks for a window or loads.
    void remove(StickyController& sticky);
    void editorReady(StickyController& sticky);
    // The pages' render process died: every sticky gets a new page, which loads its note from the store.
    void reloadAll(const QUuid& reportedBy);

signals:
    // A link a page asked to open, or a window it opened onto something other than an editor.
    void linkRequested(const QUrl& url);

private:
    void run();
    void attachNewPage(StickyController& sticky, EditorPage* page);
    EditorPage* windowRequested(const QUrl& url);

    const std::vector<std::unique_ptr<StickyController>>& m_stickies;
    QList<QPointer<StickyController>> m_pendingEditors;
    QPointer<StickyController> m_openerInFlight;
    QPointer<StickyController> m_bootstrapping;
    // Counts window requests, so that a late time-out of an answered one does nothing.
    quint64 m_windowRequests = 0;
};

} // namespace Dovrin::Stickies
