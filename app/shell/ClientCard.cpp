#include "app/shell/ClientCard.h"

#include "app/core/ColorMix.h"
#include "app/shell/ClientConfigWriter.h"
#include "app/shell/SnippetBlock.h"
#include "app/shell/WindowStyle.h"

#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

// Paths under the home folder as people write them.
QString shownPath(const QString& path) {
    const QString home = QDir::homePath();
    return path.startsWith(home + u'/') ? u'~' + path.sliced(home.size()) : path;
}

QColor connectedColor(const QPalette& palette) {
    return palette.color(QPalette::Window).lightnessF() < 0.5 ? QColor(0x5BD07A) : QColor(0x1B8A3A);
}

// "Connected", with a check mark, on a green pill.
class ConnectedBadge final : public QLabel {
public:
    explicit ConnectedBadge(QWidget* parent) : QLabel(parent) {
        setObjectName(u"connected"_s);
        setText(ClientCard::tr("Connected", "An AI app that starts this Dovrin"));
        setContentsMargins(26, 4, 12, 4);
        QFont bold = font();
        bold.setWeight(QFont::DemiBold);
        setFont(bold);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const QColor green = connectedColor(palette());
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF pill = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Core::withAlpha(green, 0.14f));
        painter.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);
        const qreal middle = pill.center().y();
        QPainterPath check;
        check.moveTo(11, middle);
        check.lineTo(14.5, middle + 3.5);
        check.lineTo(20.5, middle - 3.5);
        painter.setPen(QPen(green, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(check);
        painter.setPen(green);
        painter.drawText(contentsRect(), Qt::AlignCenter, text());
    }
};

// The card's one action, in the accent colour, so it stands out from the Copy buttons around it.
class AddButton final : public QPushButton {
public:
    explicit AddButton(QWidget* parent) : QPushButton(parent) {
        setObjectName(u"add"_s);
        setAttribute(Qt::WA_Hover);
        setAutoDefault(false);
        setCursor(Qt::PointingHandCursor);
        QFont bold = font();
        bold.setWeight(QFont::DemiBold);
        setFont(bold);
    }

    QSize sizeHint() const override {
        const QFontMetrics metrics(font());
        return {metrics.horizontalAdvance(text()) + 28, metrics.height() + 12};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override {
        const QColor accent = palette().color(QPalette::Highlight);
        const QColor fill = isDown()       ? Core::mixed(accent, Qt::black, 0.18f)
                            : underMouse() ? Core::mixed(accent, Qt::white, 0.12f)
                                           : accent;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 7, 7);
        painter.fillPath(shape, fill);
        if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
            painter.setPen(QPen(Core::withAlpha(palette().color(QPalette::WindowText), 0.5f), 2));
            painter.drawPath(shape);
        }
        painter.setPen(palette().color(QPalette::HighlightedText));
        painter.drawText(rect(), Qt::AlignCenter, text());
    }

    bool event(QEvent* event) override {
        // The fill follows the pointer.
        if (event->type() == QEvent::HoverEnter || event->type() == QEvent::HoverLeave)
            update();
        return QPushButton::event(event);
    }
};

} // namespace

ClientCard::ClientCard(const AIClient& client, QWidget* parent)
    : QFrame(parent), m_client(client), m_name(new QLabel(client.name, this)),
      m_connected(new ConnectedBadge(this)), m_add(new AddButton(this)), m_caption(secondaryLabel({}, this)),
      m_snippet(new SnippetBlock(this)), m_note(secondaryLabel({}, this)), m_message(new QLabel(this)) {
    setObjectName(client.id);
    QFont title = m_name->font();
    title.setPointSizeF(title.pointSizeF() * 1.12);
    title.setWeight(QFont::DemiBold);
    m_name->setFont(title);
    m_message->setObjectName(u"message"_s);
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_message->hide();

    auto* header = new QHBoxLayout;
    header->setSpacing(10);
    header->addWidget(m_name);
    header->addStretch();
    header->addWidget(m_connected);
    header->addWidget(m_add);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 16);
    layout->setSpacing(8);
    layout->addLayout(header);
    layout->addWidget(m_caption);
    layout->addWidget(m_snippet);
    layout->addWidget(m_note);
    layout->addWidget(m_message);
    connect(m_add, &QPushButton::clicked, this, &ClientCard::add);
}

void ClientCard::refresh(const AIClient& client, const QString& mcpPath) {
    m_client = client;
    m_mcpPath = mcpPath;
    const QString file = shownPath(client.configFile);
    const ClientState state = clientState(client, mcpPath);
    m_caption->setText(client.registersByCommand ? tr("Run in a terminal:")
                                                 : tr("Add this to %1:").arg(file));
    m_snippet->setText(setupSnippet(client, mcpPath));
    m_connected->setVisible(state == ClientState::connected);
    m_add->setVisible(state == ClientState::notSetUp || state == ClientState::otherServer);
    m_add->setText(state == ClientState::otherServer ? tr("Update", "Points an AI app's entry at this Dovrin")
                                                     : tr("Add to %1", "Add to Cursor").arg(client.name));
    m_add->setToolTip(tr("Saves a copy of %1, then adds Dovrin to it.").arg(file));
    QString note;
    if (state == ClientState::cannotEdit)
        note =
            client.registersByCommand
                ? tr("%1 has content Dovrin can’t edit safely. Run the command instead.").arg(file)
                : tr("%1 has content Dovrin can’t edit safely. Copy the snippet into it instead.").arg(file);
    else if (state == ClientState::otherServer)
        note = tr("%1 starts a different dovrin-mcp. Update it to start this one.").arg(client.name);
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
}

void ClientCard::add() {
    const QString file = shownPath(m_client.configFile);
    const auto added = addToClient(m_client, m_mcpPath);
    if (added) {
        showMessage(tr("Added. Restart %1 to start using Dovrin. The old file is saved as %2.")
                        .arg(m_client.name, shownPath(backupPath(m_client))));
    } else {
        const AddError& error = added.error();
        switch (error.kind) {
        case AddError::Kind::cannotEdit:
            showMessage({});
            break;
        case AddError::Kind::unreadable:
            showMessage(tr("Couldn’t read %1: %2").arg(file, error.detail));
            break;
        case AddError::Kind::backupFailed:
            showMessage(tr("Couldn’t save a copy of %1, so it wasn’t changed: %2").arg(file, error.detail));
            break;
        case AddError::Kind::writeFailed:
            showMessage(tr("Couldn’t change %1: %2").arg(file, error.detail));
            break;
        }
    }
    refresh(m_client, m_mcpPath);
}

void ClientCard::showMessage(const QString& text) {
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
}

void ClientCard::paintEvent(QPaintEvent*) {
    const QPalette& colors = palette();
    const QColor window = colors.color(QPalette::Window);
    const QColor text = colors.color(QPalette::WindowText);
    const bool dark = window.lightnessF() < 0.5;
    // Raised a little off the window: lighter in both appearances, as the desktop's own cards are.
    const QColor fill =
        dark ? Core::mixed(window, text, 0.045f) : Core::mixed(window, colors.color(QPalette::Base), 0.8f);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Core::withAlpha(text, dark ? 0.11f : 0.09f));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
}

} // namespace Dovrin::Shell
