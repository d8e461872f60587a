#include "app/agent/NoteReference.h"

#include <QRegularExpression>
#include <QStringList>

#include <optional>

using namespace Qt::StringLiterals;

namespace Dovrin::Agent {

namespace {

std::optional<QUuid> uuid(const QString& text) {
    static const QRegularExpression form(QRegularExpression::anchoredPattern(
        u"[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}"_s));
    if (!form.match(text).hasMatch())
        return std::nullopt;
    return QUuid::fromString(text);
}

// Parsed by hand rather than with QUrl, which lower-cases hosts: the host "note" must match exactly.
std::optional<QUuid> linkedID(const QString& text) {
    static const QRegularExpression url(QRegularExpression::anchoredPattern(
        u"([A-Za-z][A-Za-z0-9+.-]*)://([^/?#]*)([^?#]*)(\\?[^#]*)?(#.*)?"_s));
    const auto match = url.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QString scheme = match.captured(1).toLower();
    const QStringList parts = match.captured(3).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (scheme == "dovrin"_L1 && match.captured(2) == "note"_L1 && parts.size() == 1)
        return uuid(parts.first());
    if (scheme == "https"_L1 && parts.size() == 2 && parts.first() == "n"_L1)
        return uuid(parts.last());
    return std::nullopt;
}

} // namespace

AgentResult<QUuid> noteReference(const QString& argument) {
    const QString trimmed = argument.trimmed();
    if (const auto id = uuid(trimmed))
        return *id;
    if (const auto id = linkedID(trimmed))
        return *id;
    return AgentError{Bridge::ErrorCode::notFound,
                      QLatin1Char('"') + argument +
                          u"\" isn't a Dovrin note id or link. Call list_notes to see the notes."_s};
}

} // namespace Dovrin::Agent
