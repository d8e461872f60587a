#pragma once

#include <QDateTime>
#include <QList>
#include <QRectF>
#include <QString>
#include <QUuid>

#include <optional>

namespace Dovrin::Store {

// Listed in the order the color menu shows them, which is the order of Bridge::colorNames.
enum class StickyColor { yellow, blue, green, pink, purple, gray };

QList<StickyColor> allStickyColors();
QString rawValue(StickyColor color);
// Any name outside the six reads as yellow, as stored notes have always done.
StickyColor stickyColorFromRawValue(const QString& raw);
std::optional<StickyColor> stickyColorIfKnown(const QString& raw);
// The localized display name ("Yellow", …).
QString displayName(StickyColor color);

struct AgentLabel {
    enum class Action { added, edited, checkedOff };

    QString agent;
    Action action = Action::edited;

    friend bool operator==(const AgentLabel&, const AgentLabel&) = default;
};

QString rawValue(AgentLabel::Action action);
// A missing or unknown stored action reads as edited.
AgentLabel::Action agentActionFromRawValue(const QString& raw);

struct WindowState {
    StickyColor color = StickyColor::yellow;
    QRectF frame;
    std::optional<QString> screenID;
    bool isFloating = false;
    bool isCollapsed = false;

    friend bool operator==(const WindowState&, const WindowState&) = default;
};

struct Note {
    QUuid id;
    QString markdown;
    StickyColor color = StickyColor::yellow;
    QRectF frame;
    std::optional<QString> screenID;
    bool isOpen = true;
    bool isFloating = false;
    bool isCollapsed = false;
    QDateTime createdAt;
    QDateTime updatedAt;
    qint64 rev = 1;
    std::optional<QDateTime> deletedAt;
    QString createdBy;
    std::optional<QUuid> batchID;
    std::optional<AgentLabel> agentLabel;
    std::optional<QString> deletedBy;

    // The lower-case hyphenated id, as stored and shown everywhere.
    QString idText() const;
    // "dovrin://note/<id>"
    QString link() const;
    QString title() const;
    QString bodyLine() const;
    WindowState windowState() const;
    // Nothing but whitespace and the "<br />" the editor writes for an empty line: closing such a note
    // deletes it, and it has no link worth copying.
    bool isBlank() const;

    friend bool operator==(const Note&, const Note&) = default;
};

QString idText(const QUuid& id);
// The creator or editor name that stands for the user rather than an AI: it leaves no ✦ label.
inline constexpr QLatin1String madeByUser("user");
// A title as the app shows it: "Untitled" (localized) in place of an empty one.
QString shownTitle(const QString& title);
QString noteLink(const QUuid& id);

} // namespace Dovrin::Store
