#include "app/shell/ConnectWindow.h"

#include "app/shell/AIClient.h"
#include "app/shell/ClientCard.h"
#include "app/shell/McpServerPath.h"
#include "app/shell/SnippetBlock.h"
#include "app/shell/WindowStyle.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

constexpr int windowWidth = 640;
// Of the screen's free height, so that a tall list still leaves the window's edges in view.
constexpr qreal maxScreenShare = 0.85;

QLabel* wrappedLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QLabel* sectionLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setWeight(QFont::DemiBold);
    label->setFont(font);
    return label;
}

} // namespace

ConnectWindow::ConnectWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_content(new QWidget), m_path(new SnippetBlock), m_server(new QWidget),
      m_missing(new QWidget), m_missingText(wrappedLabel({}, m_missing)), m_clients(new QWidget) {
    const QString title = tr("Connect your AI");
    setWindowTitle(title);

    auto* heading = new QLabel(title, m_content);
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.6);
    headingFont.setWeight(QFont::Bold);
    heading->setFont(headingFont);
    auto* intro = wrappedLabel(
        tr("Let Claude, ChatGPT and others read your stickies, check things off and add new ones."),
        m_content);
    auto* steps =
        secondaryLabel(tr("Dovrin talks to AI apps through dovrin-mcp. Add Dovrin to your app below, "
                          "or copy its setup into it, then restart the app."),
                       m_content);

    auto* serverLayout = new QVBoxLayout(m_server);
    serverLayout->setContentsMargins(0, 0, 0, 0);
    serverLayout->setSpacing(8);
    serverLayout->addWidget(sectionLabel(tr("dovrin-mcp on this computer"), m_server));
    m_path->setObjectName(u"mcpPath"_s);
    serverLayout->addWidget(m_path);

    m_missing->setObjectName(u"missing"_s);
    m_missingText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* warningIcon = new QLabel(m_missing);
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize);
    warningIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(iconSize, iconSize));
    auto* missingLayout = new QHBoxLayout(m_missing);
    missingLayout->setContentsMargins(0, 0, 0, 0);
    missingLayout->setSpacing(10);
    missingLayout->addWidget(warningIcon, 0, Qt::AlignTop);
    missingLayout->addWidget(m_missingText, 1);

    m_cards = new QVBoxLayout(m_clients);
    m_cards->setContentsMargins(0, 0, 0, 0);
    m_cards->setSpacing(12);
    m_cards->addWidget(sectionLabel(tr("AI apps"), m_clients));

    auto* content = new QVBoxLayout(m_content);
    content->setContentsMargins(28, 24, 28, 28);
    content->setSpacing(0);
    content->addWidget(heading);
    content->addSpacing(10);
    content->addWidget(intro);
    content->addSpacing(4);
    content->addWidget(steps);
    content->addSpacing(24);
    content->addWidget(m_server);
    content->addWidget(m_missing);
    content->addSpacing(24);
    content->addWidget(m_clients);
    content->addStretch();

    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->verticalScrollBar()->setStyleSheet(thinScrollBarStyle(palette()));
    m_scroll->setWidget(m_content);
    m_scroll->viewport()->setBackgroundRole(QPalette::Window);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    refresh();
}

void ConnectWindow::showWindow() {
    refresh();
    if (!isVisible())
        fitToContent();
    show();
    raise();
    activateWindow();
}

bool ConnectWindow::event(QEvent* event) {
    // Coming back from a terminal or an AI app's settings, the files may say something new.
    if (event->type() == QEvent::WindowActivate)
        refresh();
    return QWidget::event(event);
}

void ConnectWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange)
        m_scroll->verticalScrollBar()->setStyleSheet(thinScrollBarStyle(palette()));
    QWidget::changeEvent(event);
}

void ConnectWindow::refresh() {
    const QString mcpPath = dovrinMcpPath();
    const bool runnable = isRunnableFile(mcpPath);
    m_path->setText(mcpPath);
    m_missingText->setText(tr("dovrin-mcp isn’t next to Dovrin (%1).").arg(mcpPath));
    m_server->setVisible(runnable);
    m_missing->setVisible(!runnable);
    // Snippets that start a missing program would only fail inside the AI app.
    m_clients->setVisible(runnable);

    const QList<AIClient> clients = aiClients();
    QStringList ids;
    for (const AIClient& client : clients)
        ids.append(client.id);
    QStringList shownIds;
    for (const ClientCard* card : std::as_const(m_cardList))
        shownIds.append(card->client().id);
    if (ids != shownIds) {
        qDeleteAll(m_cardList);
        m_cardList.clear();
        for (const AIClient& client : clients) {
            auto* card = new ClientCard(client, m_clients);
            m_cards->addWidget(card);
            m_cardList.append(card);
        }
    }
    for (qsizetype i = 0; i < clients.size(); ++i)
        m_cardList[i]->refresh(clients[i], mcpPath);
}

void ConnectWindow::fitToContent() {
    const QScreen* screen = this->screen();
    const int maxHeight = screen ? int(screen->availableGeometry().height() * maxScreenShare) : 720;
    const int contentHeight = m_content->hasHeightForWidth() ? m_content->heightForWidth(windowWidth)
                                                             : m_content->sizeHint().height();
    resize(windowWidth, qMin(contentHeight, maxHeight));
}

} // namespace Dovrin::Shell
