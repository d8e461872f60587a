#include "app/shell/LaunchRequest.h"

#include "app/core/Log.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

constexpr int wireVersion = 1;

QUrl dovrinLink(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() && url.scheme() == "dovrin"_L1 ? url : QUrl();
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
            qCWarning(Core::shellLog, "ignoring argument %s", qUtf8Printable(argument));
    }
    return request;
}

QByteArray LaunchRequest::toLine() const {
    QJsonArray links;
    for (const QUrl& url : urls)
        links.append(url.toString(QUrl::FullyEncoded));
    const QJsonObject object{{u"version"_s, wireVersion}, {u"urls"_s, links}, {u"background"_s, background}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<LaunchRequest> LaunchRequest::fromLine(const QByteArray& line) {
    const QJsonDocument document = QJsonDocument::fromJson(line);
    const QJsonObject object = document.object();
    const QJsonValue links = object.value("urls"_L1);
    const QJsonValue background = object.value("background"_L1);
    if (!document.isObject() || object.value("version"_L1) != QJsonValue(wireVersion) || !links.isArray() ||
        !background.isBool())
        return std::nullopt;
    LaunchRequest request;
    request.background = background.toBool();
    for (const QJsonValue link : links.toArray()) {
        if (const QUrl url = dovrinLink(link.toString()); !url.isEmpty())
            request.urls.append(url);
        else
            qCWarning(Core::shellLog, "hand-over: ignoring link %s",
                      qUtf8Printable(link.toString().left(200)));
    }
    return request;
}

} // namespace Dovrin::Shell
