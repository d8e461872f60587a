#include "app/stickies/StickyController.h"

#include "app/agent/Completion.h"
#include "app/agent/ui/ReduceMotion.h"
#include "app/core/Log.h"
#include "app/core/ScreenSpace.h"
#include "app/stickies/EditorPage.h"
#include "app/stickies/EditorPopovers.h"
#include "app/stickies/EditorScripts.h"
#include "app/stickies/Geometry.h"
#include "app/stickies/StickyMenu.h"
#include "app/stickies/StickyPanel.h"
#include "app/stickies/StickyViewState.h"
#include "app/stickies/StickyWebView.h"
#include "app/store/NoteStore.h"
#include "app/store/PlainText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <QScreen>

#include <utility>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

using Store::logStoreError;
using Store::Note;

StickyController::StickyController(Store::NoteStore& store, const Note& note, bool focusWhenReady,
                                   Core::Clock& clock, QObject* parent)
    : QObject(parent), m_store(store), m_clock(clock), m_id(note.id), m_focusWhenReady(focusWhenReady),
      m_requestedAtMs(clock.monotonicMs()) {
    m_state = new StickyViewState(note, this);
    m_revisions[note.rev] = note.markdown;
    m_panel = std::make_unique<StickyPanel>(m_state);
    m_popovers = std::make_unique<EditorPopovers>(
        *m_panel, [this] { return this->note().color; }, m_clock);
    m_isPlacing = true;
    m_panel->setFrame(
        Core::ScreenSpace::toWindow(note.isCollapsed ? Geometry::topStrip(note.frame) : note.frame), false);
    m_isPlacing = false;
    connect(m_panel.get(), &StickyPanel::frameChanged, this, &StickyController::recordFrame);
    connect(m_panel.get(), &StickyPanel::frameAnimationFinished, this, [this] { m_isPlacing = false; });
    connect(m_state, &StickyViewState::actionRequested, this, &StickyController::handleAction);
    m_menu = new StickyMenu(*this);
    m_panel->addActions(m_menu->shortcutActions());
    connect(m_state, &StickyViewState::menuRequested, this,
            [this](QPoint position) { m_menu->menu()->popup(position); });
}

StickyController::~StickyController() = default;

EditorPage* StickyController::page() const {
    return m_page;
}

const Note& StickyController::note() const {
    return m_state->note();
}

void StickyController::replaceNote(const Note& note) {
    m_state->setNote(note);
    m_revisions[note.rev] = note.markdown;
    while (m_revisions.size() > keptRevisions)
        m_revisions.erase(m_revisions.begin());
}

void StickyController::attachEditor(EditorPage* page) {
    detachEditor();
    page->setParent(this);
    m_page = page;
    auto* view = new StickyWebView();
    view->setPage(page->page());
    view->setMenuItems([this] { return m_menu->items(); });
    m_webView = view;
    m_state->setWebView(view);
    m_popovers->setEditor(page, view);
    connect(page, &EditorPage::messageReceived, this, &StickyController::handleMessage);
    connect(page, &EditorPage::renderProcessTerminated, this, &StickyController::editorProcessTerminated);
}

void StickyController::detachEditor() {
    m_popovers->closeAll();
    m_popovers->setEditor(nullptr, nullptr);
    // The view goes before the page it shows.
    if (m_webView) {
        m_state->setWebView(nullptr);
        m_webView->deleteLater();
    }
    if (m_page) {
        disconnect(m_page, nullptr, this, nullptr);
        m_page->deleteLater();
    }
    m_page = nullptr;
    m_webView = nullptr;
    m_isEditorReady = false;
    m_editorBaseline.reset();
}

void StickyController::refreshFromStore() {
    const auto stored = m_store.note(m_id);
    if (!stored) {
        logStoreError(stored.error());
        return;
    }
    if (!*stored)
        return;
    // The window's own fields may be newer than the stored ones while their save waits.
    Note refreshed = note();
    refreshed.markdown = (*stored)->markdown;
    refreshed.rev = (*stored)->rev;
    refreshed.updatedAt = (*stored)->updatedAt;
    refreshed.agentLabel = (*stored)->agentLabel;
    replaceNote(refreshed);
}

void StickyController::handleMessage(const QString& type, const QJsonObject& body) {
    if (type == "ready"_L1) {
        fill(body);
    } else if (type == "changed"_L1) {
        const QJsonValue markdown = body.value("markdown");
        if (markdown.isString())
            save(markdown.toString());
    } else if (type == "image"_L1) {
        storeImage(body);
    } else if (type == "openLink"_L1) {
        if (const QUrl url(body.value("href").toString(), QUrl::StrictMode); url.isValid() && !url.isEmpty())
            emit linkRequested(url);
    } else if (EditorPopovers::handles(type)) {
        m_popovers->handleMessage(type, body);
    } else {
        qCWarning(Core::stickiesLog, "unknown editor message %s",
                  qUtf8Printable(type.isEmpty() ? "nil" : type));
    }
}

void StickyController::storeImage(const QJsonObject& body) {
    const auto outcome = m_images.storeMessage(body);
    if (!outcome || !m_page)
        return;
    QJsonValue url;
    if (outcome->stored) {
        url = outcome->stored->url;
        qCInfo(Core::stickiesLog, "stored image note=%s %s bytes=%ld", qUtf8Printable(Store::idText(m_id)),
               qUtf8Printable(outcome->stored->url), long(outcome->stored->bytes));
    } else {
        qCWarning(Core::stickiesLog, "image not stored note=%s: %s", qUtf8Printable(Store::idText(m_id)),
                  qUtf8Printable(outcome->stored.error().description));
    }
    m_page->call(EditorScripts::imageStored, {{"id", outcome->id}, {"url", url}});
}

void StickyController::fill(const QJsonObject& body) {
    const qint64 pageMs = body.value("msSinceNavigation").toInteger(-1);
    // Edits that arrived while the page loaded are shown.
    if (const auto stored = m_store.note(m_id); !stored)
        logStoreError(stored.error());
    else if (*stored)
        replaceNote(**stored);
    const QJsonObject arguments{
        {"markdown", note().markdown}, {"color", Store::rawValue(note().color)}, {"focus", m_focusWhenReady}};
    m_page->call(EditorScripts::fill, arguments, this, [this, pageMs](const ScriptResult& result) {
        if (!result) {
            qCWarning(Core::stickiesLog, "fill note=%s: %s", qUtf8Printable(Store::idText(m_id)),
                      qUtf8Printable(result.error().description));
            return;
        }
        const QJsonObject answer = result.value().toObject();
        const QJsonValue markdown = answer.value("markdown");
        m_editorBaseline = markdown.isString() ? std::optional(markdown.toString()) : std::nullopt;
        m_isEditorReady = true;
        qCInfo(Core::stickiesLog, "ready note=%s openMs=%ld pageMs=%ld chars=%ld focused=%s",
               qUtf8Printable(Store::idText(m_id)), long(m_clock.monotonicMs() - m_requestedAtMs),
               long(pageMs), long(markdown.toString().size()),
               Core::logBool(answer.value("focused").toBool()));
        m_focusWhenReady = false;
        emit editorReady();
    });
}

void StickyController::flush(std::function<void()> done) {
    if (!done)
        done = [] {};
    if (!m_isEditorReady || !m_page || !m_webView)
        return done();
    // Whoever waits goes on even when this sticky goes before its page answered.
    const Agent::Completion<> finished(done, [done] { Agent::runLater(done); });
    m_page->call(EditorScripts::getMarkdown, {}, this, [this, finished](const ScriptResult& result) {
        if (result && result.value().isString() && result.value().toString() != m_editorBaseline)
            save(result.value().toString());
        finished();
    });
}

bool StickyController::save(const QString& markdown, const std::optional<QString>& editor,
                            Store::AgentLabel::Action action) {
    const auto saved = m_store.updateMarkdown(m_id, markdown, m_clock.now(), editor, action);
    // A failed write leaves the baseline behind, so that the next flush tries the text again.
    if (!saved) {
        logStoreError(saved.error());
        return false;
    }
    m_editorBaseline = markdown;
    if (!*saved)
        return false;
    replaceNote(**saved);
    qCInfo(Core::stickiesLog, "saved note=%s rev=%ld chars=%ld", qUtf8Printable(Store::idText(m_id)),
           long(note().rev), long(note().markdown.size()));
    return true;
}

void StickyController::applyExternalEdit(const QString& markdown, qint64 baseRev, const QString& editor,
                                         Store::AgentLabel::Action action,
                                         std::function<void(EditOutcome)> reply) {
    // A sticky closed or deleted while the AI's edit waits on its page has not saved it.
    const Agent::Completion<EditOutcome> done(reply, [reply] {
        Agent::runLater([reply] { reply({EditOutcome::Status::unsaved, 0, {}}); });
    });
    const qint64 rev = note().rev;
    if (baseRev > rev)
        return conflict(u"baseRev %1 is ahead of rev %2"_s.arg(baseRev).arg(rev), editor, done);
    if (!m_isEditorReady || !m_page || !m_webView) {
        if (baseRev != rev)
            return conflict(u"editor loading, rev moved on"_s, editor, done);
        return done(saveAgentEdit(markdown, editor, action));
    }
    const auto base = m_revisions.find(baseRev);
    if (base == m_revisions.end())
        return conflict(u"baseRev %1 no longer kept"_s.arg(baseRev), editor, done);
    m_page->call(EditorScripts::applyExternalMarkdown, {{"markdown", markdown}, {"base", base->second}}, this,
                 [this, baseRev, editor, action, done](const ScriptResult& result) {
                     if (!result)
                         return conflict("editor error: " + result.error().description, editor, done);
                     const QJsonObject answer = result.value().toObject();
                     const QJsonValue merged = answer.value("markdown");
                     if (answer.value("status").toString() != "applied"_L1 || !merged.isString()) {
                         const QJsonValue reason = answer.value("reason");
                         return conflict(reason.isString() ? reason.toString() : u"editor error"_s, editor,
                                         done);
                     }
                     const EditOutcome outcome = saveAgentEdit(merged.toString(), editor, action);
                     if (outcome.status == EditOutcome::Status::applied)
                         qCInfo(Core::stickiesLog, "agent edit applied note=%s actor=%s baseRev=%ld rev=%ld",
                                qUtf8Printable(Store::idText(m_id)), qUtf8Printable(editor), long(baseRev),
                                long(note().rev));
                     done(outcome);
                 });
}

StickyController::EditOutcome StickyController::saveAgentEdit(const QString& markdown, const QString& editor,
                                                              Store::AgentLabel::Action action) {
    const qint64 before = note().rev;
    if (!save(markdown, editor, action))
        return {EditOutcome::Status::unsaved, note().rev, note().markdown};
    const auto status = note().rev == before ? EditOutcome::Status::unchanged : EditOutcome::Status::applied;
    return {status, note().rev, note().markdown};
}

void StickyController::conflict(const QString& reason, const QString& editor,
                                std::function<void(EditOutcome)> done) {
    flush([self = QPointer(this), reason, editor, done] {
        if (!self)
            return done({EditOutcome::Status::unsaved, 0, {}});
        qCInfo(Core::stickiesLog, "agent edit conflict note=%s actor=%s reason=%s rev=%ld",
               qUtf8Printable(Store::idText(self->m_id)), qUtf8Printable(editor), qUtf8Printable(reason),
               long(self->note().rev));
        done({EditOutcome::Status::conflict, self->note().rev, self->note().markdown});
    });
}

void StickyController::setColor(Store::StickyColor color) {
    Note changed = note();
    changed.color = color;
    m_state->setNote(changed);
    if (m_isEditorReady && m_page)
        m_page->call(EditorScripts::setColor, {{"color", Store::rawValue(color)}});
    scheduleWindowSave();
}

void StickyController::toggleFloating() {
    Note changed = note();
    changed.isFloating = !changed.isFloating;
    m_state->setNote(changed);
    scheduleWindowSave();
}

void StickyController::toggleCollapsed() {
    Note changed = note();
    changed.isCollapsed = !changed.isCollapsed;
    const QRectF current = Core::ScreenSpace::fromWindow(m_panel->geometry());
    const QRectF target = changed.isCollapsed
                              ? Geometry::topStrip(current)
                              : QRectF(current.x(), Geometry::maxY(current) - changed.frame.height(),
                                       current.width(), changed.frame.height());
    m_state->setNote(changed);
    if (m_webView) {
        if (changed.isCollapsed)
            m_webView->clearFocus();
        else
            m_webView->setFocus();
    }
    m_isPlacing = true;
    m_panel->setFrame(Core::ScreenSpace::toWindow(target), !Agent::reduceMotion());
    if (!m_panel->isAnimatingFrame())
        m_isPlacing = false;
    scheduleWindowSave();
}

void StickyController::recordFrame() {
    if (m_isPlacing)
        return;
    Note changed = note();
    const QRectF frame = Core::ScreenSpace::fromWindow(m_panel->geometry());
    changed.frame = changed.isCollapsed ? QRectF(frame.x(), Geometry::maxY(frame) - changed.frame.height(),
                                                 frame.width(), changed.frame.height())
                                        : frame;
    const QScreen* screen = m_panel->screen();
    changed.screenID = screen ? std::optional(Geometry::screenID(*screen)) : std::nullopt;
    m_state->setNote(changed);
    scheduleWindowSave();
}

void StickyController::copyLink() {
    if (note().isBlank())
        return;
    const QString link = note().link();
    auto* data = new QMimeData();
    data->setText(link);
    data->setUrls({QUrl(link)});
    QGuiApplication::clipboard()->setMimeData(data);
    m_state->showCopied();
    qCInfo(Core::stickiesLog, "copied link note=%s", qUtf8Printable(Store::idText(m_id)));
}

void StickyController::copyText() {
    flush([this, self = QPointer(this)] {
        if (!self)
            return;
        static const QRegularExpression image(Store::PlainText::imagePattern());
        QGuiApplication::clipboard()->setText(QString(note().markdown).replace(image, u"\\1"_s));
    });
}

void StickyController::scheduleWindowSave() {
    m_saveTask.start(m_clock, windowSaveDelayMs, [this] { saveWindowStateNow(); });
}

void StickyController::cancelWindowSave() {
    m_saveTask.reset();
}

void StickyController::saveWindowStateNow() {
    m_saveTask.reset();
    if (const auto saved = m_store.saveWindowState(m_id, note().windowState()); !saved)
        logStoreError(saved.error());
}

void StickyController::close(std::function<void(bool discarded)> done) {
    if (std::exchange(m_isEnding, true))
        return;
    flush([this, self = QPointer(this), done] {
        if (!self)
            return;
        saveWindowStateNow();
        const auto closed = m_store.close(m_id);
        if (!closed)
            logStoreError(closed.error());
        const bool discarded = closed && *closed;
        // The manager fades the panel out and hands the focus on.
        if (done)
            done(discarded);
        emit this->closed(discarded);
    });
}

void StickyController::requestDelete() {
    if (std::exchange(m_isEnding, true))
        return;
    flush([this, self = QPointer(this)] {
        if (!self)
            return;
        saveWindowStateNow();
        emit deleteRequested();
    });
}

void StickyController::handleAction(StickyAction action) {
    switch (action) {
    case StickyAction::close:
        return close();
    case StickyAction::nextColor: {
        const QList<Store::StickyColor> colors = Store::allStickyColors();
        return setColor(colors.at((colors.indexOf(note().color) + 1) % colors.size()));
    }
    case StickyAction::toggleFloating:
        return toggleFloating();
    case StickyAction::toggleCollapsed:
        return toggleCollapsed();
    case StickyAction::newSticky:
        emit newStickyRequested();
        return;
    case StickyAction::copyLink:
        return copyLink();
    case StickyAction::copyText:
        return copyText();
    case StickyAction::remove:
        return requestDelete();
    }
}

} // namespace Dovrin::Stickies
