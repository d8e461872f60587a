#include "app/shell/UpdateRequest.h"

#include "generated/Version.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

// A server that sends nothing for this long is taken for gone.
constexpr int stalledTransferMs = 30'000;

} // namespace

bool isSafeUpdateUrl(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty())
        return false;
    if (url.scheme() == "https"_L1)
        return true;
    if (url.scheme() != "http"_L1)
        return false;
    const QHostAddress address(url.host());
    return url.host() == "localhost"_L1 || (!address.isNull() && address.isLoopback());
}

QNetworkReply* fetchUpdateResource(QNetworkAccessManager& network, const QUrl& url) {
    if (!isSafeUpdateUrl(url))
        return nullptr;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setTransferTimeout(stalledTransferMs);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      u"Dovrin/%1"_s.arg(QLatin1StringView(DOVRIN_VERSION)));
    QNetworkReply* reply = network.get(request);
    QObject::connect(reply, &QNetworkReply::redirected, reply, [reply](const QUrl& target) {
        if (isSafeUpdateUrl(target))
            emit reply->redirectAllowed();
        else
            reply->abort();
    });
    return reply;
}

} // namespace Dovrin::Shell
