#include "app/shell/Appcast.h"

#include "app/shell/VersionComparison.h"

#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

const QString sparkleNamespace = u"http://www.andymatuschak.org/xml-namespaces/sparkle"_s;

bool isSparkle(const QXmlStreamReader& reader, QLatin1StringView name) {
    return reader.namespaceUri() == sparkleNamespace && reader.name() == name;
}

bool isPlain(const QXmlStreamReader& reader, QLatin1StringView name) {
    return reader.namespaceUri().isEmpty() && reader.name() == name;
}

void readEnclosure(QXmlStreamReader& reader, const QUrl& feedUrl, AppcastItem& item) {
    const QXmlStreamAttributes attributes = reader.attributes();
    item.url = feedUrl.resolved(QUrl(attributes.value(u"url"_s).trimmed().toString()));
    item.length = attributes.value(u"length"_s).toLongLong();
    item.type = attributes.value(u"type"_s).toString();
    item.edSignature = attributes.value(sparkleNamespace, u"edSignature"_s).trimmed().toLatin1();
    // The attributes only stand in for the item's own elements.
    if (item.version.isEmpty())
        item.version = attributes.value(sparkleNamespace, u"version"_s).trimmed().toString();
    if (item.displayVersion.isEmpty())
        item.displayVersion =
            attributes.value(sparkleNamespace, u"shortVersionString"_s).trimmed().toString();
    reader.skipCurrentElement();
}

// sparkle:minimumSystemVersion names a macOS release and means nothing here, so it is skipped with the
// other elements this app has no use for.
AppcastItem readItem(QXmlStreamReader& reader, const QUrl& feedUrl) {
    AppcastItem item;
    while (reader.readNextStartElement()) {
        if (isPlain(reader, "title"_L1))
            item.title = reader.readElementText().trimmed();
        else if (isPlain(reader, "description"_L1))
            item.descriptionHtml = reader.readElementText().trimmed();
        else if (isPlain(reader, "enclosure"_L1))
            readEnclosure(reader, feedUrl, item);
        else if (isSparkle(reader, "version"_L1))
            item.version = reader.readElementText().trimmed();
        else if (isSparkle(reader, "shortVersionString"_L1))
            item.displayVersion = reader.readElementText().trimmed();
        else if (isSparkle(reader, "releaseNotesLink"_L1))
            item.releaseNotesLink = feedUrl.resolved(QUrl(reader.readElementText().trimmed()));
        else
            reader.skipCurrentElement();
    }
    if (item.displayVersion.isEmpty())
        item.displayVersion = item.version;
    return item;
}

} // namespace

Result<Appcast, QString> Appcast::parse(const QByteArray& feed, const QUrl& feedUrl) {
    QXmlStreamReader reader(feed);
    Appcast appcast;
    bool sawChannel = false;
    if (reader.readNextStartElement() && isPlain(reader, "rss"_L1)) {
        while (reader.readNextStartElement()) {
            if (!isPlain(reader, "channel"_L1)) {
                reader.skipCurrentElement();
                continue;
            }
            sawChannel = true;
            while (reader.readNextStartElement()) {
                if (!isPlain(reader, "item"_L1)) {
                    reader.skipCurrentElement();
                    continue;
                }
                AppcastItem item = readItem(reader, feedUrl);
                if (!item.version.isEmpty() && item.url.isValid() && !item.url.isEmpty())
                    appcast.items.append(std::move(item));
            }
        }
    }
    if (reader.hasError())
        return tr("The update feed isn’t valid XML (line %1: %2).")
            .arg(reader.lineNumber())
            .arg(reader.errorString());
    if (!sawChannel)
        return tr("The update feed isn’t an RSS feed.");
    return appcast;
}

std::optional<AppcastItem> Appcast::newestUpdate(const QString& runningVersion) const {
    std::optional<AppcastItem> newest;
    for (const AppcastItem& item : items) {
        if (compareVersions(item.version, runningVersion) <= 0)
            continue;
        if (!newest || compareVersions(item.version, newest->version) > 0)
            newest = item;
    }
    return newest;
}

} // namespace Dovrin::Shell
