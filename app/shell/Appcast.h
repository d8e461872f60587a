#pragma once

#include "app/core/Result.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace Dovrin::Shell {

// One release as the update feed describes it.
struct AppcastItem {
    QString title;
    // sparkle:version, compared with the running build number.
    QString version;
    // sparkle:shortVersionString, what people read ("0.2.0"); the version when the feed gives none.
    QString displayVersion;
    // The item's description (HTML), and a page of release notes when the feed links one instead.
    QString descriptionHtml;
    QUrl releaseNotesLink;
    // The enclosure: the Debian package, its size in bytes (0 when not given), MIME type, and
    // sparkle:edSignature (base64 Ed25519 signature of the package's bytes; empty when not given).
    QUrl url;
    qint64 length = 0;
    QString type;
    QByteArray edSignature;
};

// The update feed: an RSS channel in the appcast (Sparkle RSS) format whose items are releases.
class Appcast final {
    Q_DECLARE_TR_FUNCTIONS(Dovrin::Shell::Appcast)

public:
    // Relative links in the feed are resolved against `feedUrl`. Items without a version or without an
    // enclosure link are left out; a feed that is not well-formed RSS is an error, said for people.
    static Result<Appcast, QString> parse(const QByteArray& feed, const QUrl& feedUrl);

    // The newest item whose version is newer than `runningVersion`, if any.
    std::optional<AppcastItem> newestUpdate(const QString& runningVersion) const;

    QList<AppcastItem> items;
};

} // namespace Dovrin::Shell
