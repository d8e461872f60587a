#include "app/stickies/EditorPump.h"

#include "app/core/Log.h"
#include "app/stickies/EditorPage.h"
#include "app/stickies/StickyController.h"
#include "app/stickies/StickyPanel.h"
#include "app/store/Note.h"

#include <QTimer>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

namespace {

// A page asked to open a window that never asks for it would hold every later editor back.
constexpr int windowRequestTimeoutMs = 5000;

} // namespace

EditorPump::EditorPump(const std::vector<std::unique_ptr<StickyController>>& stickies, QObject* parent)
    : QObject(parent), m_stickies(stickies) {}

void EditorPump::enqueue(StickyController& sticky) {
    m_pendingEditors.append(&sticky);
    run();
}

void EditorPump::remove(StickyController& sticky) {
    m_pendingEditors.removeAll(&sticky);
    if (m_openerInFlight == &sticky)
        m_openerInFlight = nullptr;
    if (m_bootstrapping == &sticky)
        m_bootstrapping = nullptr;
    run();
}

void EditorPump::editorReady(StickyController& sticky) {
    if (m_bootstrapping == &sticky)
        m_bootstrapping = nullptr;
    run();
}

void EditorPump::run() {
    if (m_openerInFlight)
        return;
    m_pendingEditors.removeAll(nullptr);
    if (m_pendingEditors.isEmpty())
        return;
    for (const auto& sticky : m_stickies) {
        if (sticky->isEditorReady() && sticky->page() && sticky->webView()) {
            m_openerInFlight = sticky.get();
            const quint64 request = ++m_windowRequests;
            QTimer::singleShot(windowRequestTimeoutMs, this, [this, request] {
                if (request != m_windowRequests || !m_openerInFlight)
                    return;
                qCWarning(Core::stickiesLog, "editor window request unanswered; trying again");
                m_openerInFlight = nullptr;
                run();
            });
            qCDebug(Core::stickiesLog, "editor window requested by note=%s",
                    qUtf8Printable(Store::idText(sticky->id())));
            sticky->page()->openWindow();
            return;
        }
    }
    if (m_bootstrapping)
        return;
    StickyController* first = m_pendingEditors.takeFirst();
    m_bootstrapping = first;
    qCDebug(Core::stickiesLog, "editor loading for note=%s", qUtf8Printable(Store::idText(first->id())));
    auto* page = new EditorPage();
    attachNewPage(*first, page);
    page->load();
}

void EditorPump::attachNewPage(StickyController& sticky, EditorPage* page) {
    page->setWindowHandler([this](const QUrl& url) { return windowRequested(url); });
    connect(page, &EditorPage::externalLinkRequested, this, &EditorPump::linkRequested);
    sticky.attachEditor(page);
}

EditorPage* EditorPump::windowRequested(const QUrl& url) {
    if (m_openerInFlight && url.scheme() == "app"_L1) {
        m_openerInFlight = nullptr;
        ++m_windowRequests;
        QTimer::singleShot(0, this, &EditorPump::run);
        m_pendingEditors.removeAll(nullptr);
        if (m_pendingEditors.isEmpty())
            return nullptr;
        StickyController* next = m_pendingEditors.takeFirst();
        qCDebug(Core::stickiesLog, "editor window opened for note=%s",
                qUtf8Printable(Store::idText(next->id())));
        auto* page = new EditorPage();
        attachNewPage(*next, page);
        return page;
    }
    // An editor page opening itself again without being asked has nowhere to go.
    if (!url.isEmpty() && url.scheme() != "app"_L1)
        emit linkRequested(url);
    return nullptr;
}

void EditorPump::reloadAll(const QUuid& reportedBy) {
    qCWarning(Core::stickiesLog,
              "WebContent process terminated (reported by note=%s); reloading %ld editors from the store",
              qUtf8Printable(Store::idText(reportedBy)), long(m_stickies.size()));
    m_pendingEditors.clear();
    m_openerInFlight = nullptr;
    m_bootstrapping = nullptr;
    for (const auto& sticky : m_stickies) {
        sticky->setFocusWhenReady(sticky->panel()->isActiveWindow());
        sticky->detachEditor();
    }
    for (const auto& sticky : m_stickies)
        m_pendingEditors.append(sticky.get());
    run();
}

} // namespace Dovrin::Stickies
