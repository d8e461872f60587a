#include "StickyManager.h"

#include "DefaultColor.h"
#include "EditorPage.h"
#include "FullScreenWatch.h"
#include "Geometry.h"
#include "Log.h"
#include "NoteStore.h"
#include "Provenance.h"
#include "ReduceMotion.h"
#include "ScreenSpace.h"
#include "StickyController.h"
#include "StickyMenu.h"
#include "StickyPanel.h"
#include "StickyViewState.h"

#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWebEngineView>

#include <algorithm>

namespace Dovrin::Stickies {

using Store::logStoreError;
using Store::Note;
namespace ScreenSpace = Agent::ScreenSpace;

namespace {

constexpr int openFadeMs = 150;
constexpr int closeFadeMs = 180;
constexpr int staggerMs = 50;
constexpr int reducedStaggerMs = 30;
constexpr int revealMs = 400;
constexpr int reducedRevealMs = 200;
// A page asked to open a window that never asks for it would hold every later editor back.
constexpr int windowRequestTimeoutMs = 5000;

QString rectText(const QRectF& r) {
    return QStringLiteral("{{%1, %2}, {%3, %4}}").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QList<QRectF> visibleFrames() {
    QList<QRectF> frames;
    for (const ScreenSpace::ScreenFrames& screen : ScreenSpace::screens())
        frames.append(screen.visibleFrame);
    return frames;
}

QScreen* screenContaining(const QPointF& point) {
    for (QScreen* screen : QGuiApplication::screens())
        if (ScreenSpace::frame(*screen).contains(point))
            return screen;
    return QGuiApplication::primaryScreen();
}

QScreen* screenIntersecting(const QRectF& rect) {
    for (QScreen* screen : QGuiApplication::screens())
        if (ScreenSpace::frame(*screen).intersects(rect))
            return screen;
    return nullptr;
}

QPointF mouseLocation() {
    return ScreenSpace::fromQtPoint(QCursor::pos());
}

// Fast at first, settling gently.
QEasingCurve revealCurve() {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.2, 0.9), QPointF(0.25, 1.0), QPointF(1, 1));
    return curve;
}

QPropertyAnimation* propertyAnimation(QWidget* target, const QByteArray& property, const QVariant& from,
                                      const QVariant& to, int ms) {
    auto* animation = new QPropertyAnimation(target, property, target);
    animation->setDuration(ms);
    animation->setStartValue(from);
    animation->setEndValue(to);
    return animation;
}

} // namespace

StickyManager::StickyManager(Store::NoteStore& store, Agent::Provenance& provenance, Agent::Clock& clock,
                             QObject* parent)
    : QObject(parent), m_store(store), m_provenance(provenance), m_clock(clock),
      m_fullScreenWatch(new FullScreenWatch(this)) {
    m_fullScreenCheck = [watch = m_fullScreenWatch](const QScreen& screen) {
        return watch->isOccupied(screen);
    };
    connect(m_fullScreenWatch, &FullScreenWatch::changed, this, &StickyManager::showParkedIfClear);
    // Screens report a change in several steps; the stickies move once they are over.
    m_screensTimer.setSingleShot(true);
    m_screensTimer.setInterval(0);
    connect(&m_screensTimer, &QTimer::timeout, this, &StickyManager::screensChanged);
    const auto watchScreen = [this](QScreen* screen) {
        connect(screen, &QScreen::availableGeometryChanged, &m_screensTimer, qOverload<>(&QTimer::start));
        connect(screen, &QScreen::geometryChanged, &m_screensTimer, qOverload<>(&QTimer::start));
    };
    for (QScreen* screen : QGuiApplication::screens())
        watchScreen(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, watchScreen](QScreen* screen) {
        watchScreen(screen);
        m_screensTimer.start();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, &m_screensTimer, qOverload<>(&QTimer::start));
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, &m_screensTimer, qOverload<>(&QTimer::start));
}

StickyManager::~StickyManager() {
    // Controllers reach the pump through their signals while they go.
    for (auto& sticky : m_stickies)
        disconnect(sticky.get(), nullptr, this, nullptr);
    m_stickies.clear();
}

void StickyManager::setOpenAtLoginLinkClicked(std::function<void()> callback) {
    m_openAtLoginLinkClicked = std::move(callback);
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

void StickyManager::setFullScreenCheck(std::function<bool(const QScreen&)> check) {
    m_fullScreenCheck = std::move(check);
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
    qCInfo(dovrinLog, "restored %ld open stickies", restored);
}

// New stickies

void StickyManager::newStickyAtMouse() {
    if (m_newest && sticky(m_newest->id()) && !noteHasText(m_newest->note())) {
        orderFront(*m_newest, true);
        if (QWebEngineView* view = m_newest->webView())
            view->setFocus();
        return;
    }
    const QPointF mouse = mouseLocation();
    QScreen* screen = screenContaining(mouse);
    if (!screen)
        return;
    create(Agent::defaultStickyColor(), {}, Geometry::atMouse(mouse, ScreenSpace::visibleFrame(*screen)));
}

void StickyManager::newStickyBelow(const QRectF& anchor) {
    QScreen* screen = screenIntersecting(anchor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    create(Agent::defaultStickyColor(), {},
           Geometry::belowAnchor(anchor, ScreenSpace::visibleFrame(*screen)));
}

void StickyManager::newStickyAfter(StickyController& source) {
    QScreen* screen = source.panel()->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRectF frame = Geometry::after(ScreenSpace::fromWindow(source.panel()->geometry()),
                                         source.note().frame.size(), ScreenSpace::visibleFrame(*screen));
    create(source.note().color, {}, frame);
}

StickyController* StickyManager::create(Store::StickyColor color, const QString& markdown,
                                        const QRectF& frame) {
    const qint64 requestedAt = m_clock.monotonicMs();
    const QScreen* screen = screenIntersecting(frame);
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

// Opening and showing

StickyController* StickyManager::open(const Note& note, bool activate, bool animate, qint64 requestedAtMs) {
    Note placed = note;
    // A note stored without a usable size would open as a window nobody can see or grab.
    if (placed.frame.width() < StickyPanel::minimumWidth ||
        placed.frame.height() < StickyPanel::minimumExpandedHeight)
        placed.frame.setSize({Geometry::newStickySize, Geometry::newStickySize});
    const QRectF corrected = Geometry::corrected(placed.frame, visibleFrames());
    if (corrected != placed.frame) {
        qCInfo(dovrinLog, "recovered off-screen note=%s to %s", qUtf8Printable(note.idText()),
               qUtf8Printable(rectText(corrected)));
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
    m_pendingEditors.append(opened);
    runEditorPump();
    if (animate && !Agent::reduceMotion()) {
        opened->panel()->setWindowOpacity(0);
        propertyAnimation(opened->panel(), "windowOpacity", 0.0, 1.0, openFadeMs)
            ->start(QAbstractAnimation::DeleteWhenStopped);
    }
    orderFront(*opened, activate);
    emit stickiesChanged();
    return opened;
}

void StickyManager::connectSticky(StickyController& opened) {
    StickyController* sticky = &opened;
    const QUuid id = opened.id();
    connect(sticky, &StickyController::editorReady, this, [this, sticky] {
        if (m_bootstrapping == sticky)
            m_bootstrapping = nullptr;
        runEditorPump();
    });
    connect(sticky, &StickyController::closed, this, [this, sticky](bool discarded) {
        qCInfo(dovrinLog, "closed note=%s discarded=%s", qUtf8Printable(Store::idText(sticky->id())),
               logBool(discarded));
        dismiss(*sticky);
    });
    connect(sticky, &StickyController::deleteRequested, this,
            [this, sticky] { deleteSticky(*sticky, std::nullopt); });
    connect(sticky, &StickyController::newStickyRequested, this, [this, sticky] { newStickyAfter(*sticky); });
    connect(sticky, &StickyController::linkRequested, this, &StickyManager::openUrl);
    connect(sticky, &StickyController::editorProcessTerminated, this,
            [this, id] { editorProcessTerminated(id); });
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
    panel->setWindowOpacity(0);
    QPropertyAnimation* fade =
        propertyAnimation(panel, "windowOpacity", 0.0, 1.0, reduced ? reducedRevealMs : revealMs);
    fade->setEasingCurve(revealCurve());
    fade->start(QAbstractAnimation::DeleteWhenStopped);
    if (reduced)
        return;
    const QRect full = panel->geometry();
    const int dx = qRound(full.width() * 0.03 / 2);
    const int dy = qRound(full.height() * 0.03 / 2);
    QPropertyAnimation* grow =
        propertyAnimation(panel, "geometry", full.adjusted(dx, dy, -dx, -dy), full, revealMs);
    grow->setEasingCurve(revealCurve());
    sticky.setPlacing(true);
    connect(grow, &QAbstractAnimation::finished, &sticky, [&sticky] { sticky.setPlacing(false); });
    grow->start(QAbstractAnimation::DeleteWhenStopped);
}

void StickyManager::bringAllToFront() {
    for (StickyController* sticky : stackingOrder())
        orderFront(*sticky, false);
}

void StickyManager::revealNote(const QUuid& id) {
    if (StickyController* open = sticky(id); open && open->note().isCollapsed)
        open->toggleCollapsed();
    openUrl(QUrl(QStringLiteral("dovrin://note/") + Store::idText(id)));
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
    hideNext(std::move(hiding), 0, std::move(done));
}

void StickyManager::hideNext(QList<QPointer<StickyController>> hiding, qsizetype index,
                             std::function<void()> done) {
    if (index == hiding.size()) {
        qCInfo(dovrinLog, "hid all (%ld)", long(hiding.size()));
        if (done)
            done();
        return;
    }
    StickyController* sticky = hiding.at(index);
    if (!sticky)
        return hideNext(std::move(hiding), index + 1, std::move(done));
    sticky->flush([this, hiding, index, done, guard = QPointer(sticky)] {
        if (guard) {
            guard->saveWindowStateNow();
            dismiss(*guard, false);
        }
        hideNext(hiding, index + 1, done);
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
    qCInfo(dovrinLog, "deleted note=%s", qUtf8Printable(Store::idText(sticky.id())));
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
    m_pendingEditors.removeAll(going);
    if (m_openerInFlight == going)
        m_openerInFlight = nullptr;
    if (m_bootstrapping == going)
        m_bootstrapping = nullptr;
    m_stacking.removeAll(going->id());
    disconnect(going, nullptr, this, nullptr);
    disconnect(going->state(), nullptr, this, nullptr);
    runEditorPump();
    // Its own signal may have brought us here, so it goes once that is over.
    going->setParent(this);
    if (fade && panel->isVisible() && !Agent::reduceMotion()) {
        QPropertyAnimation* out =
            propertyAnimation(panel, "windowOpacity", panel->windowOpacity(), 0.0, closeFadeMs);
        connect(out, &QAbstractAnimation::finished, going, &QObject::deleteLater);
        out->start(QAbstractAnimation::DeleteWhenStopped);
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
    deleteNext(ids, deletedBy, {}, std::move(done));
}

void StickyManager::deleteNext(QList<QUuid> ids, std::optional<QString> deletedBy, QList<QUuid> deleted,
                               std::function<void(QList<QUuid> deleted)> done) {
    if (ids.isEmpty()) {
        if (done)
            done(deleted);
        return;
    }
    const QUuid id = ids.takeFirst();
    StickyController* open = sticky(id);
    if (!open) {
        if (const auto moved = m_store.moveToRecentlyDeleted(id, m_clock.now(), deletedBy); !moved)
            logStoreError(moved.error());
        else
            deleted.append(id);
        return deleteNext(std::move(ids), std::move(deletedBy), std::move(deleted), std::move(done));
    }
    open->flush([this, id, ids, deletedBy, deleted, done, guard = QPointer(open)]() mutable {
        if (guard) {
            guard->cancelWindowSave();
            if (deleteSticky(*guard, deletedBy))
                deleted.append(id);
        }
        deleteNext(ids, deletedBy, deleted, done);
    });
}

void StickyManager::undoAgentDeletion(const QList<QUuid>& ids) {
    QList<Note> reopened;
    for (const QUuid& id : ids) {
        if (const auto restored = m_store.restore(id); !restored) {
            logStoreError(restored.error());
            continue;
        }
        const auto stored = m_store.note(id);
        if (!stored)
            logStoreError(stored.error());
        else if (*stored && (*stored)->isOpen)
            reopened.append(**stored);
    }
    showStaggered(reopened, false);
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

// AI batches

std::optional<StickyManager::Batch> StickyManager::createBatchForAgent(const QList<AgentNote>& notes,
                                                                       const QUuid& batchID,
                                                                       const QString& agent) {
    QScreen* screen = screenContaining(mouseLocation());
    if (!screen)
        return std::nullopt;
    QList<double> heights;
    for (const AgentNote& note : notes)
        heights.append(Geometry::estimatedHeight(note.markdown));
    QList<QRectF> obstacles;
    for (const auto& sticky : m_stickies)
        if (sticky->panel()->isVisible())
            obstacles.append(ScreenSpace::fromWindow(sticky->panel()->geometry()));
    const QList<QRectF> frames =
        Geometry::batchLayout(heights, ScreenSpace::visibleFrame(*screen), obstacles);
    QList<Store::NoteStore::NewNote> newNotes;
    for (qsizetype i = 0; i < notes.size(); ++i)
        newNotes.append({notes.at(i).markdown, notes.at(i).color, frames.at(i), Geometry::screenID(*screen)});
    const auto created = m_store.create(newNotes, agent, batchID, m_clock.now());
    if (!created) {
        logStoreError(created.error());
        return std::nullopt;
    }
    for (const Note& note : *created)
        m_provenance.note(note);
    const bool parked = isScreenOccupied(*screen);
    if (parked)
        m_parked = Parked{*created, screen};
    else
        showStaggered(*created, false);
    qCInfo(dovrinLog, "agent batch %s: %ld notes, parked=%s", qUtf8Printable(Store::idText(batchID)),
           long(created->size()), logBool(parked));
    return Batch{*created, parked};
}

bool StickyManager::isScreenOccupied(const QScreen& screen) const {
    return m_fullScreenCheck && m_fullScreenCheck(screen);
}

void StickyManager::showParkedIfClear() {
    if (!m_parked || (m_parked->screen && isScreenOccupied(*m_parked->screen)))
        return;
    const QList<Note> notes = std::exchange(m_parked, std::nullopt)->notes;
    showStaggered(notes, false);
}

void StickyManager::showParked() {
    if (!m_parked)
        return;
    const QList<Note> notes = std::exchange(m_parked, std::nullopt)->notes;
    showStaggered(notes, true);
}

// Links

void StickyManager::openUrl(const QUrl& url) {
    if (url.scheme() != QLatin1String("dovrin")) {
        QDesktopServices::openUrl(url);
        return;
    }
    if (url.toString() == QLatin1String("dovrin://settings/login")) {
        if (m_openAtLoginLinkClicked)
            m_openAtLoginLinkClicked();
        return;
    }
    const QString last = url.path().section(QLatin1Char('/'), -1);
    const QUuid id(last);
    if (url.host() != QLatin1String("note") || id.isNull()) {
        qCInfo(dovrinLog, "unknown link %s", qUtf8Printable(url.toString()));
        return;
    }
    openNoteLink(id);
}

void StickyManager::openNoteLink(const QUuid& id) {
    if (StickyController* open = sticky(id)) {
        orderFront(*open, true);
        return;
    }
    const auto stored = m_store.note(id);
    if (!stored) {
        logStoreError(stored.error());
        return;
    }
    if (!*stored) {
        auto* alert = new QMessageBox(QMessageBox::Information, tr("Dovrin"),
                                      tr("This note isn’t on this computer."), QMessageBox::Ok);
        alert->setAttribute(Qt::WA_DeleteOnClose);
        alert->open();
        return;
    }
    if ((*stored)->deletedAt) {
        auto* alert = new QMessageBox(QMessageBox::Question, tr("Dovrin"), tr("That note was deleted."));
        alert->setAttribute(Qt::WA_DeleteOnClose);
        QPushButton* restore = alert->addButton(tr("Restore"), QMessageBox::AcceptRole);
        alert->addButton(tr("Cancel"), QMessageBox::RejectRole);
        connect(alert, &QMessageBox::buttonClicked, this, [this, id, restore](QAbstractButton* button) {
            if (button == restore)
                restoreFromRecentlyDeleted(id);
        });
        alert->open();
        return;
    }
    if (const auto reopened = m_store.reopen(id); !reopened) {
        logStoreError(reopened.error());
        return;
    }
    open(**stored, true, true, m_clock.monotonicMs());
}

// Screens

void StickyManager::screensChanged() {
    const QList<QRectF> frames = visibleFrames();
    for (const auto& sticky : m_stickies) {
        const Note& note = sticky->note();
        const QRectF corrected = Geometry::corrected(note.frame, frames);
        const QRectF shown =
            note.isCollapsed ? QRectF(corrected.x(), Geometry::maxY(corrected) - Geometry::titleStripHeight,
                                      corrected.width(), Geometry::titleStripHeight)
                             : corrected;
        sticky->setPlacing(true);
        sticky->panel()->setFrame(ScreenSpace::toWindow(shown), false);
        sticky->setPlacing(false);
    }
}

// Editor pages

void StickyManager::runEditorPump() {
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
                qCWarning(dovrinLog, "editor window request unanswered; trying again");
                m_openerInFlight = nullptr;
                runEditorPump();
            });
            qCDebug(dovrinLog, "editor window requested by note=%s",
                    qUtf8Printable(Store::idText(sticky->id())));
            sticky->page()->openWindow();
            return;
        }
    }
    if (m_bootstrapping)
        return;
    StickyController* first = m_pendingEditors.takeFirst();
    m_bootstrapping = first;
    qCDebug(dovrinLog, "editor loading for note=%s", qUtf8Printable(Store::idText(first->id())));
    auto* page = new EditorPage();
    attachNewPage(*first, page);
    page->load();
}

void StickyManager::attachNewPage(StickyController& sticky, EditorPage* page) {
    page->setWindowHandler([this](const QUrl& url) { return windowRequested(url); });
    connect(page, &EditorPage::externalLinkRequested, this, &StickyManager::openUrl);
    sticky.attachEditor(page);
}

EditorPage* StickyManager::windowRequested(const QUrl& url) {
    if (m_openerInFlight && url.scheme() == QLatin1String("app")) {
        m_openerInFlight = nullptr;
        ++m_windowRequests;
        QTimer::singleShot(0, this, &StickyManager::runEditorPump);
        m_pendingEditors.removeAll(nullptr);
        if (m_pendingEditors.isEmpty())
            return nullptr;
        StickyController* next = m_pendingEditors.takeFirst();
        qCDebug(dovrinLog, "editor window opened for note=%s", qUtf8Printable(Store::idText(next->id())));
        auto* page = new EditorPage();
        attachNewPage(*next, page);
        return page;
    }
    // An editor page opening itself again without being asked has nowhere to go.
    if (!url.isEmpty() && url.scheme() != QLatin1String("app"))
        openUrl(url);
    return nullptr;
}

void StickyManager::editorProcessTerminated(const QUuid& reportedBy) {
    qCWarning(dovrinLog,
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
    runEditorPump();
}

// The agent side's view

bool StickyManager::hasOpenSticky(const QUuid& id) const {
    return sticky(id) != nullptr;
}

bool StickyManager::isStickyLive(const QUuid& id) const {
    const StickyController* open = sticky(id);
    return open && !open->note().isCollapsed;
}

bool StickyManager::isStickyKey(const QUuid& id) const {
    const StickyController* open = sticky(id);
    return open && open->panel()->isActiveWindow();
}

void StickyManager::currentNote(const QUuid& id, std::function<void(std::optional<Note>)> done) {
    StickyController* open = sticky(id);
    if (!open)
        return done(std::nullopt);
    open->flush(
        [guard = QPointer(open), done] { done(guard ? std::optional(guard->note()) : std::nullopt); });
}

void StickyManager::applyExternalEdit(const QUuid& id, const QString& markdown, qint64 baseRev,
                                      const QString& editor, Store::AgentLabel::Action action,
                                      std::function<void(EditOutcome)> done) {
    if (StickyController* open = sticky(id))
        return open->applyExternalEdit(markdown, baseRev, editor, action, std::move(done));
    // Callers ask only for open stickies; without one the edit is refused with what the database holds.
    const auto stored = m_store.note(id);
    if (!stored)
        logStoreError(stored.error());
    if (!stored || !*stored)
        return done({EditOutcome::Status::unsaved, 0, {}});
    done({EditOutcome::Status::conflict, (**stored).rev, (**stored).markdown});
}

void StickyManager::refreshSticky(const QUuid& id) {
    if (StickyController* open = sticky(id))
        open->refreshFromStore();
}

void StickyManager::showNote(const QUuid& id) {
    revealNote(id);
}

} // namespace Dovrin::Stickies
