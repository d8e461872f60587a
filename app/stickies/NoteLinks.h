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

// The links that lead into Dovrin's own windows rather than to a note.
inline constexpr auto openAtLoginLink = "dovrin://settings/login";
inline constexpr auto connectLink = "dovrin://connect";

// Where a link goes: "dovrin://note/<id>" brings up the note's sticky (asking first when the note is in
// Recently Deleted), "dovrin://settings/login" goes to the settings, "dovrin://connect" to the guide for
// connecting an AI, any other scheme to the desktop.
class NoteLinks final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(NoteLinks)

public:
    NoteLinks(StickyManager& manager, Store::NoteStore& store, Core::Clock& clock, QObject* parent = nullptr);

    // What a note link to the settings' "open at login" calls.
    void setOpenAtLoginLinkClicked(std::function<void()> callback);
    // What the connect link calls.
    void setConnectLinkClicked(std::function<void()> callback);
    void openUrl(const QUrl& url);
    // Expands the note's sticky if collapsed and brings it (or the note) up as its link does.
    void revealNote(const QUuid& id);

private:
    void openNoteLink(const QUuid& id);

    StickyManager& m_manager;
    Store::NoteStore& m_store;
    Core::Clock& m_clock;
    std::function<void()> m_openAtLoginLinkClicked;
    std::function<void()> m_connectLinkClicked;
};

} // namespace Dovrin::Stickies
