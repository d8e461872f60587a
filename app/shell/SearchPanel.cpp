#include "app/shell/SearchPanel.h"

#include "app/agent/ui/X11.h"
#include "app/core/ColorMix.h"
#include "app/core/Log.h"
#include "app/shell/CardShadow.h"
#include "app/shell/SearchResultDelegate.h"
#include "app/shell/SearchSnippet.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStandardItemModel>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

constexpr QSize panelSize(720, 540);
constexpr int headerHeight = 58;
constexpr int footerHeight = 38;

// The "magnifyingglass" symbol, drawn in the widget's text colour.
class Magnifier final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal size = std::min(width(), height());
        painter.translate((width() - size) / 2, (height() - size) / 2);
        painter.setPen(QPen(palette().color(QPalette::WindowText), size * 0.1, Qt::SolidLine, Qt::RoundCap));
        painter.drawEllipse(QRectF(size * 0.08, size * 0.08, size * 0.6, size * 0.6));
        painter.drawLine(QPointF(size * 0.62, size * 0.62), QPointF(size * 0.9, size * 0.9));
    }
};

// A key hint such as "↩ Open": the key, the text before the first space, on a keycap, then what it does.
class KeyHint final : public QLabel {
public:
    using QLabel::QLabel;

    QSize sizeHint() const override {
        const QFontMetrics metrics(font());
        const auto [key, action] = parts();
        return {capWidth(metrics, key) + metrics.horizontalAdvance(action), metrics.height() + 4};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QFontMetrics metrics(font());
        const auto [key, action] = parts();
        const QColor ink = palette().color(QPalette::WindowText);
        const int left = capWidth(metrics, key);
        if (left > 0) {
            const qreal height = metrics.height() + 2;
            const QRectF cap(0.5, (this->height() - height) / 2 + 0.5, left - gap - 1, height - 1);
            painter.setPen(QPen(Core::withAlpha(ink, ink.alphaF() * 0.3f), 1));
            painter.setBrush(Core::withAlpha(ink, ink.alphaF() * 0.12f));
            painter.drawRoundedRect(cap, 4, 4);
            painter.setPen(ink);
            painter.drawText(cap, Qt::AlignCenter, key);
        }
        painter.setPen(ink);
        painter.drawText(rect().adjusted(left, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, action);
    }

private:
    static constexpr int gap = 6;

    std::pair<QString, QString> parts() const {
        const qsizetype space = text().indexOf(u' ');
        return space < 0 ? std::pair{QString(), text()}
                         : std::pair{text().first(space), text().sliced(space + 1)};
    }
    static int capWidth(const QFontMetrics& metrics, const QString& key) {
        return key.isEmpty() ? 0 : std::max(metrics.horizontalAdvance(key) + 10, metrics.height() + 2) + gap;
    }
};

QFont scaledFont(qreal factor) {
    QFont font = QApplication::font();
    font.setPointSizeF(font.pointSizeF() * factor);
    return font;
}

void setTextColors(QWidget& widget, const QColor& text, const QColor& placeholder = {}) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Window, Qt::transparent);
    if (placeholder.isValid())
        palette.setColor(QPalette::PlaceholderText, placeholder);
    widget.setPalette(palette);
}

QString elapsedText(const QElapsedTimer& elapsed) {
    return QString::number(double(elapsed.nsecsElapsed()) / 1e6, 'f', 2) + u" ms"_s;
}

} // namespace

SearchPanel::SearchPanel(Stickies::StickyManager& manager, std::function<QString()> newStickyShortcut,
                         QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint),
      m_manager(manager), m_newStickyShortcut(std::move(newStickyShortcut)), m_header(new QWidget(this)),
      m_field(new QLineEdit(m_header)), m_list(new QListView(this)), m_results(new QStandardItemModel(this)),
      m_delegate(new SearchResultDelegate(this)), m_emptyState(new QLabel(this)), m_footer(new QWidget(this)),
      m_count(new QLabel(m_footer)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(panelSize);
    const QString searchNotes = tr("Search notes");
    setWindowTitle(searchNotes);

    m_field->setPlaceholderText(searchNotes);
    m_field->setAccessibleName(searchNotes);
    m_field->setFrame(false);
    m_field->setFont(scaledFont(1.45));
    m_field->installEventFilter(this);
    auto* magnifier = new Magnifier(m_header);
    magnifier->setFixedSize(20, 20);
    auto* header = new QHBoxLayout(m_header);
    header->setContentsMargins(22, 0, 22, 0);
    header->setSpacing(12);
    header->addWidget(magnifier);
    header->addWidget(m_field, 1);
    m_header->setFixedHeight(headerHeight);

    m_list->setObjectName(u"results"_s);
    m_list->setModel(m_results);
    m_list->setItemDelegate(m_delegate);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->viewport()->setAttribute(Qt::WA_Hover);
    m_list->viewport()->setAutoFillBackground(false);
    m_emptyState->setObjectName(u"emptyState"_s);
    m_emptyState->setAlignment(Qt::AlignCenter);
    m_emptyState->setWordWrap(true);
    m_emptyState->setContentsMargins(40, 0, 40, 24);
    m_emptyState->setFont(scaledFont(1.05));

    m_count->setObjectName(u"count"_s);
    auto* footer = new QHBoxLayout(m_footer);
    footer->setContentsMargins(20, 0, 20, 0);
    footer->setSpacing(18);
    footer->addWidget(m_count);
    footer->addStretch(1);
    for (const QString& hint : {tr("↩ Open"), tr("esc Close")})
        footer->addWidget(new KeyHint(hint, m_footer));
    for (QLabel* label : m_footer->findChildren<QLabel*>())
        label->setFont(scaledFont(0.88));
    m_footer->setFixedHeight(footerHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(shadowMargin, shadowMargin, shadowMargin, shadowMargin);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addSpacing(6);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_emptyState, 1);
    layout->addSpacing(6);
    layout->addWidget(m_footer);

    m_pendingSearch.setSingleShot(true);
    m_pendingSearch.setInterval(0);
    connect(&m_pendingSearch, &QTimer::timeout, this, &SearchPanel::search);
    connect(m_field, &QLineEdit::textChanged, &m_pendingSearch, qOverload<>(&QTimer::start));
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex& index) { open(index.row()); });
    applyColors();
}

void SearchPanel::showPanel() {
    applyColors();
    // Without a compositor the shadow's transparent margin would show black: only the card is shown.
    if (xcb_connection_t* x11 = Agent::X11::connection(); x11 && !Agent::X11::hasCompositingManager(x11)) {
        QPainterPath outline;
        outline.addRoundedRect(QRectF(card()), cornerRadius, cornerRadius);
        setMask(QRegion(outline.toFillPolygon().toPolygon()));
    } else {
        clearMask();
    }
    m_field->clear();
    search();
    placeUnderPointer();
    show();
    raise();
    activateWindow();
    m_field->setFocus(Qt::ActiveWindowFocusReason);
}

bool SearchPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_field || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Up:
        moveSelection(-1);
        return true;
    case Qt::Key_Down:
        moveSelection(1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // What was typed last must be searched before its first result can be opened.
        if (m_pendingSearch.isActive())
            search();
        open(m_list->currentIndex().row());
        return true;
    case Qt::Key_Escape:
        hide();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void SearchPanel::changeEvent(QEvent* event) {
    // Like a popup: clicking elsewhere or switching applications puts it away.
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        hide();
    else if (event->type() == QEvent::PaletteChange)
        applyColors();
    QWidget::changeEvent(event);
}

void SearchPanel::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    if (m_background.isNull() || m_background.devicePixelRatio() != ratio)
        m_background = background(ratio);
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
    painter.fillRect(QRect(card().left(), m_header->geometry().bottom() + 1, card().width(), 1),
                     m_colors.separator);
    painter.fillRect(QRect(card().left(), m_footer->geometry().top() - 1, card().width(), 1),
                     m_colors.separator);
}

QPixmap SearchPanel::background(qreal devicePixelRatio) const {
    // A wide, soft shadow for the lift and a tight one where the card meets the desktop.
    QImage image = cardShadow(size(), card(), cornerRadius,
                              {{14, 14, m_colors.shadowOpacity}, {1, 1, m_colors.shadowOpacity * 0.5}},
                              devicePixelRatio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(card()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
    painter.setPen(QPen(m_colors.border, 1));
    painter.setBrush(m_colors.card);
    painter.drawPath(path);
    painter.end();
    return QPixmap::fromImage(std::move(image));
}

void SearchPanel::mousePressEvent(QMouseEvent* event) {
    // The shadow is part of the window, but a click on it is a click outside the card.
    if (!card().contains(event->position().toPoint()))
        hide();
    else
        QWidget::mousePressEvent(event);
}

void SearchPanel::search() {
    m_pendingSearch.stop();
    QElapsedTimer elapsed;
    elapsed.start();
    const QString query = m_field->text().trimmed();
    Store::NoteStore::SearchResult found;
    if (auto result = m_manager.store().search(query, resultLimit))
        found = std::move(result).value();
    else
        Store::logStoreError(result.error());

    m_results->clear();
    for (const Store::Note& note : found.notes) {
        const QString title = Store::shownTitle(note.title());
        const SearchSnippet snippet = searchSnippet(note.bodyLine(), query);
        const QString badge = note.isOpen ? tr("Open", "Search result: the note is on screen")
                                          : tr("Closed", "Search result: the note is hidden");
        auto* row = new QStandardItem(title);
        row->setData(note.id, SearchResultDelegate::noteIdRole);
        row->setData(int(note.color), SearchResultDelegate::colorRole);
        row->setData(QVariant::fromValue(snippet), SearchResultDelegate::snippetRole);
        row->setData(badge, SearchResultDelegate::badgeRole);
        row->setData(note.isOpen, SearchResultDelegate::isOpenRole);
        QStringList spoken{title, snippet.text, badge};
        spoken.removeAll(QString());
        row->setData(spoken.join(u", "_s), Qt::AccessibleTextRole);
        m_results->appendRow(row);
    }
    if (m_results->rowCount() > 0) {
        m_list->setCurrentIndex(m_results->index(0, 0));
        m_list->scrollToTop();
    }
    showOutcome(found.total, query);
    qCDebug(Core::shellLog, "search %ld matches in %s", long(m_results->rowCount()),
            qUtf8Printable(elapsedText(elapsed)));
}

void SearchPanel::showOutcome(int total, const QString& query) {
    m_count->setText(tr("%n notes", nullptr, total));
    const bool empty = m_results->rowCount() == 0;
    m_list->setVisible(!empty);
    m_emptyState->setVisible(empty);
    if (!empty)
        return;
    if (!query.isEmpty()) {
        m_emptyState->setText(tr("No notes match “%1”.").arg(query));
        return;
    }
    const QString shortcut = m_newStickyShortcut ? m_newStickyShortcut() : QString();
    m_emptyState->setText(shortcut.isEmpty() ? tr("No notes yet.")
                                             : tr("No notes yet. Press %1 to make one.").arg(shortcut));
}

void SearchPanel::moveSelection(int delta) {
    const int count = m_results->rowCount();
    if (count == 0)
        return;
    const int row = std::clamp(m_list->currentIndex().row() + delta, 0, count - 1);
    if (row == m_list->currentIndex().row())
        return;
    m_list->setCurrentIndex(m_results->index(row, 0));
    m_list->scrollTo(m_list->currentIndex());
}

void SearchPanel::open(int row) {
    if (row < 0 || row >= m_results->rowCount())
        return;
    const QUuid id = m_results->item(row)->data(SearchResultDelegate::noteIdRole).toUuid();
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
    // Placed y-up, the window's top edge is at the visible frame's max y − height / 6 + the shadow margin:
    // the card's top a sixth of the way down. Y-down, that edge is at the visible top + height / 6 − margin.
    move(visible.x() + visible.width() / 2 - width() / 2, visible.y() + visible.height() / 6 - shadowMargin);
}

void SearchPanel::applyColors() {
    const SearchPanelColors colors =
        searchPanelColors(QApplication::palette(), Stickies::currentAppearance());
    if (colors == m_colors)
        return;
    m_colors = colors;
    m_background = QPixmap();
    m_delegate->setColors(m_colors);
    setTextColors(*m_header, m_colors.secondaryText);
    setTextColors(*m_field, m_colors.text, m_colors.secondaryText);
    setTextColors(*m_list, m_colors.text);
    setTextColors(*m_emptyState, m_colors.secondaryText);
    setTextColors(*m_footer, m_colors.secondaryText);
    update();
}

QRect SearchPanel::card() const {
    return rect().adjusted(shadowMargin, shadowMargin, -shadowMargin, -shadowMargin);
}

} // namespace Dovrin::Shell
