#include "app/stickies/StickyViewState.h"

#include <chrono>

namespace Dovrin::Stickies {

StickyViewState::StickyViewState(const Store::Note& note, QObject* parent) : QObject(parent), m_note(note) {
    m_copiedTimer.setSingleShot(true);
    m_copiedTimer.setInterval(std::chrono::milliseconds(1500));
    connect(&m_copiedTimer, &QTimer::timeout, this, [this] { setShowingCopied(false); });
}

void StickyViewState::setNote(const Store::Note& note) {
    if (note == m_note)
        return;
    m_note = note;
    emit noteChanged();
}

void StickyViewState::setProvenance(const std::optional<Agent::Provenance::Label>& provenance) {
    if (provenance == m_provenance)
        return;
    m_provenance = provenance;
    emit provenanceChanged();
}

void StickyViewState::followProvenance(const Agent::Provenance& table) {
    connect(&table, &Agent::Provenance::labelsChanged, this,
            [this, &table] { setProvenance(table.label(m_note.id)); });
    setProvenance(table.label(m_note.id));
}

void StickyViewState::setWebView(QWidget* webView) {
    if (webView == m_webView)
        return;
    QWidget* previous = m_webView;
    m_webView = webView;
    emit webViewChanged(previous);
}

void StickyViewState::setHovering(bool hovering) {
    if (hovering == m_isHovering)
        return;
    m_isHovering = hovering;
    emit hoveringChanged(hovering);
}

void StickyViewState::setKey(bool key) {
    if (key == m_isKey)
        return;
    m_isKey = key;
    emit keyChanged(key);
}

void StickyViewState::showCopied() {
    m_copiedTimer.start();
    setShowingCopied(true);
}

void StickyViewState::setShowingCopied(bool showing) {
    if (showing == m_isShowingCopied)
        return;
    m_isShowingCopied = showing;
    emit showingCopiedChanged(showing);
}

} // namespace Dovrin::Stickies
