#pragma once

#include <QObject>
#include <QUrl>
#include <QUuid>

#include <functional>

namespace Dovrin::Core {
class Clock;
}

namespace Dovrin::Store {
class NoteStore;
}

namespace Dovrin::Stickies {

class StickyManager;

// Where a link goes: "dovrin://note/<id>" brings up the note's sticky (asking first when the note is in
// Recently Deleted), "dovrin://settings/login" goes to the settings, any other scheme to the desktop.
class NoteLinks final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(NoteLinks)

public:
    NoteLinks(StickyManager& manager, Store::NoteStore& store, Core::Clock& clock, QObject* parent = nullptr);

    // What a note link to the settings' "open at login" calls.
    void setOpenAtLoginLinkClicked(std::function<void()> callback);
    void openUrl(const QUrl& url);
    // Expands the note's sticky if collapsed and brings it (or the note) up as its link does.
    void revealNote(const QUuid& id);

private:
    void openNoteLink(const QUuid& id);

    StickyManager& m_manager;
    Store::NoteStore& m_store;
    Core::Clock& m_clock;
    std::function<void()> m_openAtLoginLinkClicked;
};

} // namespace Dovrin::Stickies
