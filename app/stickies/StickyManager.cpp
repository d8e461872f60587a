#include "app/stickies/StickyManager.h"

#include "app/agent/Provenance.h"
#include "app/agent/ui/ReduceMotion.h"
#include "app/core/AppLanguage.h"
#include "app/core/Log.h"
#include "app/core/ScreenSpace.h"
#include "app/stickies/Geometry.h"
#include "app/stickies/StickyAnimations.h"
#include "app/stickies/StickyController.h"
#include "app/stickies/StickyMenu.h"
#include "app/stickies/StickyPanel.h"
#include "app/stickies/StickyViewState.h"
#include "app/stickies/WelcomeNote.h"
#include "app/store/DefaultColor.h"
#include "app/store/NoteStore.h"

#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QWebEngineView>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

using Store::logStoreError;
using Store::Note;

namespace {

constexpr int staggerMs = 50;
constexpr int reducedStaggerMs = 30;

} // namespace

StickyManager::StickyManager(Store::NoteStore& store, Agent::Provenance& provenance, Core::Clock& clock,
                             QObject* parent)
    : QObject(parent), m_store(store), m_provenance(provenance), m_clock(clock) {
    connect(&m_pump, &EditorPump::linkRequested, this, &StickyManager::openUrl);
    connect(&m_screenChanges, &ScreenChanges::settled, this, &StickyManager::screensChanged);
}

StickyManager::~StickyManager() {
    // Controllers reach the pump through their signals while they go.
    for (auto& sticky : m_stickies)
        disconnect(sticky.get(), nullptr, this, nullptr);
    m_stickies.clear();
}

void StickyManager::setApplicationActions(const QList<QAction*>& shortcuts) {
    for (auto& sticky : m_stickies) {
        for (QAction* action : m_applicationShortcuts)
            sticky->panel()->removeAction(action);
        sticky->panel()->addActions(shortcuts);
    }
    m_applicationShortcuts = shortcuts;
}

void StickyManager::setShowsInTaskbar(bool shown) {
    m_showsInTaskbar = shown;
    for (const auto& sticky : m_stickies)
        sticky->panel()->setShowsInTaskbar(shown);
}

void StickyManager::setApplicationMenu(QMenu* menu) {
    m_applicationMenu = menu;
    for (const auto& sticky : m_stickies)
        sticky->menu().setApplicationMenu(menu);
}

// Lookup

StickyController* StickyManager::sticky(const QUuid& id) const {
    for (const auto& sticky : m_stickies)
        if (sticky->id() == id)
            return sticky.get();
    return nullptr;
}

QList<StickyController*> StickyManager::stickies() const {
    QList<StickyController*> all;
    for (const auto& sticky : m_stickies)
        all.append(sticky.get());
    return all;
}

QList<StickyController*> StickyManager::stackingOrder() const {
    QList<StickyController*> ordered;
    for (const QUuid& id : m_stacking)
        if (StickyController* open = sticky(id))
            ordered.append(open);
    return ordered;
}

QList<Note> StickyManager::openNotes() {
    const auto notes = m_store.list(Store::NoteStore::Scope::open);
    if (!notes) {
        logStoreError(notes.error());
        return {};
    }
    return *notes;
}

void StickyManager::restoreOpenStickies() {
    long restored = 0;
    for (const Note& note : openNotes()) {
        if (sticky(note.id))
            continue;
        open(note, false, false, m_clock.monotonicMs());
        ++restored;
    }
    qCInfo(Core::stickiesLog, "restored %ld open stickies", restored);
}

// New stickies

void StickyManager::newStickyAtMouse() {
    if (m_newest && sticky(m_newest->id()) && m_newest->note().isBlank()) {
        orderFront(*m_newest, true);
        if (QWebEngineView* view = m_newest->webView())
            view->setFocus();
        return;
    }
    const QPointF mouse = Core::ScreenSpace::mouseLocation();
    QScreen* screen = Core::ScreenSpace::screenContaining(mouse);
    if (!screen)
        return;
    create(Store::defaultStickyColor(), {},
           Geometry::atMouse(mouse, Core::ScreenSpace::visibleFrame(*screen)));
}

void StickyManager::newStickyBelow(const QRectF& anchor) {
    QScreen* screen = Core::ScreenSpace::screenIntersecting(anchor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    create(Store::defaultStickyColor(), {},
           Geometry::belowAnchor(anchor, Core::ScreenSpace::visibleFrame(*screen)));
}

void StickyManager::newStickyAfter(StickyController& source) {
    QScreen* screen = source.panel()->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRectF frame =
        Geometry::after(Core::ScreenSpace::fromWindow(source.panel()->geometry()), source.note().frame.size(),
                        Core::ScreenSpace::visibleFrame(*screen));
    create(source.note().color, {}, frame);
}

StickyController* StickyManager::create(Store::StickyColor color, const QString& markdown,
                                        const QRectF& frame) {
    const qint64 requestedAt = m_clock.monotonicMs();
    const QScreen* screen = Core::ScreenSpace::screenIntersecting(frame);
    const std::optional<QString> screenID =
        screen ? std::optional(Geometry::screenID(*screen)) : std::nullopt;
    const auto created =
        m_store.create({{markdown, color, frame, screenID}}, Store::madeByUser, std::nullopt, m_clock.now());
    if (!created || created->isEmpty()) {
        if (!created)
            logStoreError(created.error());
        return nullptr;
    }
    StickyController* opened = open(created->first(), true, true, requestedAt);
    m_newest = opened;
    return opened;
}

StickyController* StickyManager::showWelcomeNote(const QString& newStickyShortcut) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return nullptr;
    return create(Store::StickyColor::yellow, welcomeMarkdown(Core::launchedLanguage(), newStickyShortcut),
                  welcomeFrame(Core::ScreenSpace::visibleFrame(*screen)));
}

// Opening and showing

StickyController* StickyManager::open(const Note& note, bool activate, bool animate, qint64 requestedAtMs) {
    Note placed = note;
    // A note stored without a usable size would open as a window nobody can see or grab.
    if (placed.frame.width() < StickyPanel::minimumWidth ||
        placed.frame.height() < StickyPanel::minimumExpandedHeight)
        placed.frame.setSize({Geometry::newStickySize, Geometry::newStickySize});
    const QRectF corrected = Geometry::corrected(placed.frame, Core::ScreenSpace::visibleFrames());
    if (corrected != placed.frame) {
        qCInfo(Core::stickiesLog, "recovered off-screen note=%s to %s", qUtf8Printable(note.idText()),
               qUtf8Printable(Geometry::logText(corrected)));
        placed.frame = corrected;
    }
    auto owned = std::make_unique<StickyController>(m_store, placed, activate, m_clock);
    StickyController* opened = owned.get();
    opened->setRequestedAt(requestedAtMs);
    opened->state()->followProvenance(m_provenance);
    opened->panel()->addActions(m_applicationShortcuts);
    opened->panel()->setShowsInTaskbar(m_showsInTaskbar);
    opened->menu().setApplicationMenu(m_applicationMenu);
    connectSticky(*opened);
    m_stickies.push_back(std::move(owned));
    m_pump.enqueue(*opened);
    if (animate && !Agent::reduceMotion())
        StickyAnimations::fadeIn(*opened->panel());
    orderFront(*opened, activate);
    emit stickiesChanged();
    return opened;
}

void StickyManager::connectSticky(StickyController& opened) {
    StickyController* sticky = &opened;
    const QUuid id = opened.id();
    connect(sticky, &StickyController::editorReady, this, [this, sticky] { m_pump.editorReady(*sticky); });
    connect(sticky, &StickyController::closed, this, [this, sticky](bool discarded) {
        qCInfo(Core::stickiesLog, "closed note=%s discarded=%s", qUtf8Printable(Store::idText(sticky->id())),
               Core::logBool(discarded));
        dismiss(*sticky);
    });
    connect(sticky, &StickyController::deleteRequested, this,
            [this, sticky] { deleteSticky(*sticky, std::nullopt); });
    connect(sticky, &StickyController::newStickyRequested, this, [this, sticky] { newStickyAfter(*sticky); });
    connect(sticky, &StickyController::linkRequested, this, &StickyManager::openUrl);
    connect(sticky, &StickyController::editorProcessTerminated, this, [this, id] { m_pump.reloadAll(id); });
    connect(sticky->state(), &StickyViewState::keyChanged, this, [this, id](bool key) {
        if (key)
            moveToFront(id);
    });
}

void StickyManager::orderFront(StickyController& sticky, bool activate) {
    StickyPanel* panel = sticky.panel();
    panel->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    panel->show();
    panel->raise();
    if (activate)
        panel->activateWindow();
    moveToFront(sticky.id());
}

void StickyManager::moveToFront(const QUuid& id) {
    m_stacking.removeAll(id);
    m_stacking.append(id);
}

void StickyManager::showStaggered(const QList<Note>& notes, bool overFullScreen) {
    const bool reduced = Agent::reduceMotion();
    for (qsizetype i = 0; i < notes.size(); ++i) {
        const QUuid id = notes.at(i).id;
        QTimer::singleShot(int(i) * (reduced ? reducedStaggerMs : staggerMs), this,
                           [this, id, overFullScreen, reduced] {
                               if (sticky(id))
                                   return;
                               const auto stored = m_store.note(id);
                               if (!stored) {
                                   logStoreError(stored.error());
                                   return;
                               }
                               if (!*stored || (*stored)->deletedAt)
                                   return;
                               StickyController* opened = open(**stored, false, false, m_clock.monotonicMs());
                               reveal(*opened, overFullScreen, reduced);
                           });
    }
}

void StickyManager::reveal(StickyController& sticky, bool overFullScreen, bool reduced) {
    StickyPanel* panel = sticky.panel();
    // Above another application's full-screen window, where the AI's notes were asked to show.
    if (overFullScreen)
        panel->keepOnTop();
    panel->raise();
    moveToFront(sticky.id());
    StickyAnimations::reveal(sticky, reduced);
}

void StickyManager::bringAllToFront() {
    for (StickyController* sticky : stackingOrder())
        orderFront(*sticky, false);
}

// Hide and show all

void StickyManager::hideAll(std::function<void()> done) {
    m_isHidingAll = true;
    m_hiddenOrder.clear();
    for (StickyController* sticky : stackingOrder())
        m_hiddenOrder.append(sticky->id());
    QList<QPointer<StickyController>> hiding;
    for (const auto& sticky : m_stickies)
        hiding.append(sticky.get());
    flushInTurn(
        hiding.size(), [hiding](qsizetype i) { return hiding.at(i).data(); },
        [this](qsizetype, StickyController* sticky) {
            if (!sticky)
                return;
            sticky->saveWindowStateNow();
            dismiss(*sticky, false);
        },
        [count = hiding.size(), done] {
            qCInfo(Core::stickiesLog, "hid all (%ld)", long(count));
            if (done)
                done();
        });
}

void StickyManager::flushInTurn(qsizetype count, std::function<StickyController*(qsizetype)> stickyAt,
                                std::function<void(qsizetype, StickyController*)> each,
                                std::function<void()> done, qsizetype index) {
    if (index == count)
        return done();
    StickyController* sticky = stickyAt(index);
    if (!sticky) {
        each(index, nullptr);
        return flushInTurn(count, std::move(stickyAt), std::move(each), std::move(done), index + 1);
    }
    sticky->flush([this, count, stickyAt, each, done, index, guard = QPointer(sticky)] {
        if (guard)
            each(index, guard);
        flushInTurn(count, stickyAt, each, done, index + 1);
    });
}

void StickyManager::showAll() {
    m_isHidingAll = false;
    QList<Note> notes = openNotes();
    std::stable_sort(notes.begin(), notes.end(), [this](const Note& a, const Note& b) {
        return m_hiddenOrder.indexOf(a.id) < m_hiddenOrder.indexOf(b.id);
    });
    StickyController* last = nullptr;
    for (const Note& note : notes)
        if (!sticky(note.id))
            last = open(note, false, false, m_clock.monotonicMs());
    if (last)
        last->panel()->activateWindow();
}

// Closing and deleting

bool StickyManager::deleteSticky(StickyController& sticky, const std::optional<QString>& deletedBy) {
    const auto moved = m_store.moveToRecentlyDeleted(sticky.id(), m_clock.now(), deletedBy);
    if (!moved) {
        // The note stays where the user can see it rather than vanish without having been deleted.
        logStoreError(moved.error());
        sticky.cancelEnding();
        return false;
    }
    qCInfo(Core::stickiesLog, "deleted note=%s", qUtf8Printable(Store::idText(sticky.id())));
    dismiss(sticky);
    return true;
}

void StickyManager::dismiss(StickyController& sticky, bool fade) {
    StickyPanel* panel = sticky.panel();
    const bool wasKey = panel->isActiveWindow();
    const auto found = std::find_if(m_stickies.begin(), m_stickies.end(),
                                    [&sticky](const auto& owned) { return owned.get() == &sticky; });
    if (found == m_stickies.end())
        return;
    StickyController* going = found->release();
    m_stickies.erase(found);
    m_stacking.removeAll(going->id());
    disconnect(going, nullptr, this, nullptr);
    disconnect(going->state(), nullptr, this, nullptr);
    m_pump.remove(*going);
    // Its own signal may have brought us here, so it goes once that is over.
    going->setParent(this);
    if (fade && panel->isVisible() && !Agent::reduceMotion()) {
        StickyAnimations::fadeOut(*panel, *going);
    } else {
        panel->hide();
        going->deleteLater();
    }
    if (wasKey) {
        const QList<StickyController*> ordered = stackingOrder();
        for (auto front = ordered.rbegin(); front != ordered.rend(); ++front)
            if ((*front)->panel()->isVisible()) {
                orderFront(**front, true);
                break;
            }
    }
    emit stickiesChanged();
}

void StickyManager::deleteNotesForAgent(const QList<QUuid>& ids, const std::optional<QString>& deletedBy,
                                        std::function<void(QList<QUuid> deleted)> done) {
    auto deleted = std::make_shared<QList<QUuid>>();
    flushInTurn(
        ids.size(), [this, ids](qsizetype i) { return sticky(ids.at(i)); },
        [this, ids, deletedBy, deleted](qsizetype i, StickyController* open) {
            const QUuid& id = ids.at(i);
            if (open) {
                open->cancelWindowSave();
                if (deleteSticky(*open, deletedBy))
                    deleted->append(id);
            } else if (const auto moved = m_store.moveToRecentlyDeleted(id, m_clock.now(), deletedBy);
                       !moved) {
                logStoreError(moved.error());
            } else {
                deleted->append(id);
            }
        },
        [deleted, done] {
            if (done)
                done(*deleted);
        });
}

void StickyManager::restoreFromRecentlyDeleted(const QUuid& id) {
    if (const auto restored = m_store.restoreAndOpen(id); !restored) {
        logStoreError(restored.error());
        return;
    }
    const auto stored = m_store.note(id);
    if (!stored) {
        logStoreError(stored.error());
        return;
    }
    if (*stored && !sticky(id))
        open(**stored, true, true, m_clock.monotonicMs());
}

void StickyManager::flushAll(std::function<void(int flushed)> done) {
    const QList<StickyController*> all = stickies();
    if (all.isEmpty())
        return done(0);
    auto remaining = std::make_shared<int>(int(all.size()));
    for (StickyController* sticky : all) {
        sticky->flush([remaining, done, count = int(all.size()), guard = QPointer(sticky)] {
            if (guard && guard->isWindowSavePending())
                guard->saveWindowStateNow();
            if (--*remaining == 0)
                done(count);
        });
    }
}

// Screens

void StickyManager::screensChanged() {
    const QList<QRectF> frames = Core::ScreenSpace::visibleFrames();
    for (const auto& sticky : m_stickies) {
        const Note& note = sticky->note();
        const QRectF corrected = Geometry::corrected(note.frame, frames);
        const QRectF shown = note.isCollapsed ? Geometry::topStrip(corrected) : corrected;
        sticky->setPlacing(true);
        sticky->panel()->setFrame(Core::ScreenSpace::toWindow(shown), false);
        sticky->setPlacing(false);
    }
}

} // namespace Dovrin::Stickies
