#pragma once

#include "app/agent/Provenance.h"
#include "app/store/Note.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <optional>

namespace Dovrin::Stickies {

// What the sticky's controls, its strip and its accessibility actions ask the owner to do.
enum class StickyAction {
    close,
    newSticky,
    copyLink,
    copyText,
    nextColor,
    toggleFloating,
    toggleCollapsed,
    remove
};

// The state a sticky window shows. Its owner (the sticky's controller) writes the note and the editor; the
// window writes hovering and key. Every field announces its changes, and setters that change nothing announce
// nothing.
class StickyViewState final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(StickyViewState)

public:
    explicit StickyViewState(const Store::Note& note, QObject* parent = nullptr);

    const Store::Note& note() const { return m_note; }
    void setNote(const Store::Note& note);

    // The note's ✦ label, if an AI changed it last.
    const std::optional<Agent::Provenance::Label>& provenance() const { return m_provenance; }
    void setProvenance(const std::optional<Agent::Provenance::Label>& provenance);
    // Keeps the label in step with the table's entry for the note from now on.
    void followProvenance(const Agent::Provenance& table);

    // The editor shown below the strip. The sticky takes it as a child while it is shown; clearing it
    // (or setting another) hands the previous one back without a parent.
    QWidget* webView() const { return m_webView; }
    void setWebView(QWidget* webView);

    bool isHovering() const { return m_isHovering; }
    void setHovering(bool hovering);

    bool isKey() const { return m_isKey; }
    void setKey(bool key);

    bool isShowingCopied() const { return m_isShowingCopied; }
    // Shows "Copied" on the copy-link control for the copied duration; a second call starts it over.
    void showCopied();

    void request(StickyAction action) { emit actionRequested(action); }
    void requestMenu(QPoint globalPosition) { emit menuRequested(globalPosition); }

signals:
    void noteChanged();
    void provenanceChanged();
    void webViewChanged(QWidget* previous);
    void hoveringChanged(bool hovering);
    void keyChanged(bool key);
    void showingCopiedChanged(bool showing);
    void actionRequested(Dovrin::Stickies::StickyAction action);
    // The sticky menu is wanted at this global position.
    void menuRequested(QPoint globalPosition);

private:
    void setShowingCopied(bool showing);

    Store::Note m_note;
    std::optional<Agent::Provenance::Label> m_provenance;
    QPointer<QWidget> m_webView;
    bool m_isHovering = false;
    bool m_isKey = false;
    bool m_isShowingCopied = false;
    QTimer m_copiedTimer;
};

} // namespace Dovrin::Stickies
