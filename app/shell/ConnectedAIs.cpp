#include "app/shell/ConnectedAIs.h"

#include "app/agent/AgentActivity.h"
#include "app/core/RelativeTime.h"
#include "app/shell/SettingsSection.h"
#include "app/shell/WindowStyle.h"
#include "shared/bridge/SharedSettings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

constexpr qint64 activeWithinSeconds = 60;
const QColor activeGreen(0x34C759);

// The AI's own colour where it has a well-known one.
QColor markColor(const QString& agent, const QPalette& palette) {
    if (agent == "Claude"_L1)
        return QColor(0xD97757);
    if (agent == "ChatGPT"_L1)
        return QColor(0x10A37F);
    if (agent == "Codex"_L1)
        return QColor(0x4F6BED);
    return palette.color(QPalette::PlaceholderText);
}

class Mark final : public QWidget {
public:
    Mark(const QColor& color, QWidget* parent) : QWidget(parent), m_color(color) { setFixedSize(10, 10); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_color);
        painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }

private:
    QColor m_color;
};

QWidget* agentRow(const QString& agent, const QString& status, bool active, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* columns = new QHBoxLayout(row);
    columns->setContentsMargins(0, 4, 0, 4);
    columns->setSpacing(10);
    columns->addWidget(new Mark(markColor(agent, row->palette()), row), 0, Qt::AlignTop | Qt::AlignHCenter);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    auto* name = new QLabel(agent, row);
    QFont bold = name->font();
    bold.setWeight(QFont::DemiBold);
    name->setFont(bold);
    texts->addWidget(name);
    auto* statusLine = new QHBoxLayout;
    statusLine->setSpacing(6);
    if (active)
        statusLine->addWidget(new Mark(activeGreen, row));
    statusLine->addWidget(secondaryLabel(status, row), 1);
    texts->addLayout(statusLine);
    columns->addLayout(texts, 1);
    row->setAccessibleName(agent + u", "_s + status);
    return row;
}

void clear(QLayout& layout) {
    while (QLayoutItem* item = layout.takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

} // namespace

ConnectedAIs::ConnectedAIs(Agent::AgentActivity& activity, std::function<void()> openSetupGuide,
                           QWidget* parent)
    : QWidget(parent), m_activity(activity), m_openSetupGuide(std::move(openSetupGuide)),
      m_rows(new QVBoxLayout(this)) {
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(6);
    m_refresh.setInterval(refreshIntervalMs);
    connect(&m_refresh, &QTimer::timeout, this, &ConnectedAIs::refresh);
    // Filled now too, so that the settings window is sized with its rows.
    refresh();
}

void ConnectedAIs::refresh() {
    clear(*m_rows);
    const QMap<QString, QDateTime> connected = Bridge::SharedSettings::read().connectedAIs;
    if (connected.isEmpty()) {
        m_rows->addWidget(secondaryLabel(tr("No AI has connected yet."), this));
        auto* guide = new QPushButton(tr("Open Setup Guide"), this);
        // The prominent style: the accent colour, as the one thing to do here.
        QPalette accent = guide->palette();
        accent.setColor(QPalette::Button, accent.color(QPalette::Highlight));
        accent.setColor(QPalette::ButtonText, accent.color(QPalette::HighlightedText));
        guide->setPalette(accent);
        connect(guide, &QPushButton::clicked, this, [this] { m_openSetupGuide(); });
        m_rows->addWidget(guide, 0, Qt::AlignLeft);
        return;
    }
    QList<std::pair<QString, QDateTime>> recent;
    for (auto use = connected.cbegin(); use != connected.cend(); ++use)
        recent.append({use.key(), use.value()});
    std::ranges::sort(recent, [](const auto& a, const auto& b) { return a.second > b.second; });
    const bool paused = m_activity.access() == Bridge::AIAccess::off;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const auto& [agent, lastUsed] : recent) {
        const bool active = !paused && lastUsed.secsTo(now) < activeWithinSeconds;
        const QString status = paused   ? tr("Paused — AI access is off")
                               : active ? tr("Active now")
                                        : tr("Last active %1").arg(Core::relativeTime(lastUsed, now));
        m_rows->addWidget(agentRow(agent, status, active, this));
    }
}

void ConnectedAIs::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
    m_refresh.start();
}

void ConnectedAIs::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_refresh.stop();
}

} // namespace Dovrin::Shell
