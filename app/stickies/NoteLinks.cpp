#include "NoteLinks.h"

#include "Clock.h"
#include "Log.h"
#include "NoteStore.h"
#include "StickyController.h"
#include "StickyManager.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

namespace Dovrin::Stickies {

using Store::logStoreError;

NoteLinks::NoteLinks(StickyManager& manager, Store::NoteStore& store, Agent::Clock& clock, QObject* parent)
    : QObject(parent), m_manager(manager), m_store(store), m_clock(clock) {}

void NoteLinks::setOpenAtLoginLinkClicked(std::function<void()> callback) {
    m_openAtLoginLinkClicked = std::move(callback);
}

void NoteLinks::revealNote(const QUuid& id) {
    if (StickyController* open = m_manager.sticky(id); open && open->note().isCollapsed)
        open->toggleCollapsed();
    openUrl(QUrl(QStringLiteral("dovrin://note/") + Store::idText(id)));
}

void NoteLinks::openUrl(const QUrl& url) {
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
