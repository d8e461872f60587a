#include "app/shell/SearchPanel.h"

#include "app/core/Log.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace Dovrin::Shell {

SearchPanel::SearchPanel(Stickies::StickyManager& manager, QWidget* parent)
    : QWidget(parent, Qt::Window), m_manager(manager), m_field(new QLineEdit(this)),
      m_results(new QListWidget(this)), m_emptyState(new QLabel(this)) {
    const QString searchNotes = tr("Search notes");
    setWindowTitle(searchNotes);
    m_field->setPlaceholderText(searchNotes);
    m_field->setAccessibleName(searchNotes);
    m_field->setClearButtonEnabled(true);
    m_field->installEventFilter(this);
    m_results->setFocusPolicy(Qt::NoFocus);
    m_results->setWordWrap(true);
    m_emptyState->setAlignment(Qt::AlignCenter);
    m_emptyState->setWordWrap(true);
    m_emptyState->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_field);
    layout->addWidget(m_results, 1);
    layout->addWidget(m_emptyState, 1);
    resize(640, 460);

    connect(m_field, &QLineEdit::textChanged, this, &SearchPanel::search);
    connect(m_field, &QLineEdit::returnPressed, this, [this] { open(m_results->currentItem()); });
    connect(m_results, &QListWidget::itemActivated, this, &SearchPanel::open);
}

void SearchPanel::showPanel() {
    // Notes change while the panel is hidden; the rows must not be stale.
    search();
    if (!isVisible())
        placeUnderPointer();
    show();
    raise();
    activateWindow();
    m_field->setFocus(Qt::ActiveWindowFocusReason);
    m_field->selectAll();
}

bool SearchPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            moveSelection(key == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SearchPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        hide();
    else
        QWidget::keyPressEvent(event);
}

void SearchPanel::changeEvent(QEvent* event) {
    // Like a popup: clicking elsewhere or switching applications puts it away.
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        hide();
    QWidget::changeEvent(event);
}

void SearchPanel::search() {
    m_results->clear();
    const QString query = m_field->text().trimmed();
    QList<Store::Note> notes;
    if (!query.isEmpty()) {
        auto found = m_manager.store().search(query, resultLimit);
        if (found)
            notes = found->notes;
        else
            Store::logStoreError(found.error());
    }
    for (const Store::Note& note : notes) {
        const QString body = note.bodyLine();
        const QString title = Store::shownTitle(note.title());
        auto* row = new QListWidgetItem(body.isEmpty() ? title : title + QLatin1Char('\n') + body, m_results);
        row->setData(Qt::UserRole, note.id);
    }
    m_results->setCurrentRow(notes.isEmpty() ? -1 : 0);
    m_emptyState->setText(tr("No notes match “%1”.").arg(query));
    const bool nothingFound = notes.isEmpty() && !query.isEmpty();
    m_emptyState->setVisible(nothingFound);
    m_results->setVisible(!nothingFound);
}

void SearchPanel::moveSelection(int delta) {
    const int count = m_results->count();
    if (count == 0)
        return;
    m_results->setCurrentRow(std::clamp(m_results->currentRow() + delta, 0, count - 1));
}

void SearchPanel::open(QListWidgetItem* item) {
    if (!item)
        return;
    const QUuid id = item->data(Qt::UserRole).toUuid();
    hide();
    m_manager.openUrl(QUrl(Store::noteLink(id)));
}

void SearchPanel::placeUnderPointer() {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect visible = screen->availableGeometry();
    move(visible.center().x() - width() / 2, visible.top() + visible.height() / 6);
}

} // namespace Dovrin::Shell
