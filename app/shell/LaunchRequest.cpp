#include "LaunchRequest.h"

#include "Log.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Dovrin::Shell {

namespace {

constexpr int wireVersion = 1;

QUrl dovrinLink(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() && url.scheme() == QLatin1String("dovrin") ? url : QUrl();
}

} // namespace

bool isDovrinLink(const QString& argument) {
    return !dovrinLink(argument).isEmpty();
}

LaunchRequest LaunchRequest::fromArguments(const QStringList& arguments) {
    LaunchRequest request;
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String(backgroundArgument))
            request.background = true;
        else if (const QUrl url = dovrinLink(argument); !url.isEmpty())
            request.urls.append(url);
        else
            qCWarning(dovrinLog, "ignoring argument %s", qUtf8Printable(argument));
    }
    return request;
}

QByteArray LaunchRequest::toLine() const {
    QJsonArray links;
    for (const QUrl& url : urls)
        links.append(url.toString(QUrl::FullyEncoded));
    const QJsonObject object{{QStringLiteral("version"), wireVersion},
                             {QStringLiteral("urls"), links},
                             {QStringLiteral("background"), background}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<LaunchRequest> LaunchRequest::fromLine(const QByteArray& line) {
    const QJsonDocument document = QJsonDocument::fromJson(line);
    const QJsonObject object = document.object();
    const QJsonValue links = object.value(QLatin1String("urls"));
    const QJsonValue background = object.value(QLatin1String("background"));
    if (!document.isObject() || object.value(QLatin1String("version")) != QJsonValue(wireVersion) ||
        !links.isArray() || !background.isBool())
        return std::nullopt;
    LaunchRequest request;
    request.background = background.toBool();
    for (const QJsonValue link : links.toArray()) {
        if (const QUrl url = dovrinLink(link.toString()); !url.isEmpty())
            request.urls.append(url);
        else
            qCWarning(dovrinLog, "hand-over: ignoring link %s", qUtf8Printable(link.toString().left(200)));
    }
    return request;
}

} // namespace Dovrin::Shell
