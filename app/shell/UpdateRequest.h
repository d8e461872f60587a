#pragma once

#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace Dovrin::Shell {

// Whether the updater may fetch `url`: HTTPS, or plain HTTP to this computer only (a feed served from
// loopback while testing). Anything else could be changed on its way here.
bool isSafeUpdateUrl(const QUrl& url);

// Starts fetching the feed or a package; none for an unsafe address. A redirect is followed only to a safe
// address, and a transfer that stalls gives up. The caller owns the reply.
QNetworkReply* fetchUpdateResource(QNetworkAccessManager& network, const QUrl& url);

} // namespace Dovrin::Shell
