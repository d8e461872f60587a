#include "app/stickies/NoteLinks.h"

#include "app/core/Clock.h"
#include "app/core/Log.h"
#include "app/stickies/StickyController.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

using Store::logStoreError;

NoteLinks::NoteLinks(StickyManager& manager, Store::NoteStore& store, Core::Clock& clock, QObject* parent)
    : QObject(parent), m_manager(manager), m_store(store), m_clock(clock) {}

void NoteLinks::setOpenAtLoginLinkClicked(std::function<void()> callback) {
    m_openAtLoginLinkClicked = std::move(callback);
}

void NoteLinks::setConnectLinkClicked(std::function<void()> callback) {
    m_connectLinkClicked = std::move(callback);
}

void NoteLinks::revealNote(const QUuid& id) {
    if (StickyController* open = m_manager.sticky(id); open && open->note().isCollapsed)
        open->toggleCollapsed();
    openUrl(QUrl(u"dovrin://note/"_s + Store::idText(id)));
}

void NoteLinks::openUrl(const QUrl& url) {
    if (url.scheme() != "dovrin"_L1) {
        QDesktopServices::openUrl(url);
        return;
    }
    const QString link = url.toString();
    if (link == QLatin1StringView(openAtLoginLink)) {
        if (m_openAtLoginLinkClicked)
            m_openAtLoginLinkClicked();
        return;
    }
    if (link == QLatin1StringView(connectLink)) {
        if (m_connectLinkClicked)
            m_connectLinkClicked();
        return;
    }
    const QString last = url.path().section(QLatin1Char('/'), -1);
    const QUuid id(last);
    if (url.host() != "note"_L1 || id.isNull()) {
        qCInfo(Core::stickiesLog, "unknown link %s", qUtf8Printable(url.toString()));
        return;
    }
    openNoteLink(id);
}

void NoteLinks::openNoteLink(const QUuid& id) {
    if (StickyController* open = m_manager.sticky(id)) {
        m_manager.orderFront(*open, true);
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
                m_manager.restoreFromRecentlyDeleted(id);
        });
        alert->open();
        return;
    }
    if (const auto reopened = m_store.reopen(id); !reopened) {
        logStoreError(reopened.error());
        return;
    }
    m_manager.open(**stored, true, true, m_clock.monotonicMs());
}

} // namespace Dovrin::Stickies
