#include "app/stickies/AssetServer.h"

#include "app/stickies/AssetPath.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QUrl>
#include <QWebEngineUrlRequestJob>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

namespace {

QByteArray contentTypeFor(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == "html"_L1)
        return "text/html; charset=utf-8";
    if (extension == "js"_L1)
        return "text/javascript; charset=utf-8";
    if (extension == "css"_L1)
        return "text/css; charset=utf-8";
    if (!extension.isEmpty()) {
        const QList<QMimeType> types = QMimeDatabase().mimeTypesForFileName(u"file."_s + extension);
        if (!types.isEmpty())
            return types.first().name().toUtf8();
    }
    return "application/octet-stream";
}

} // namespace

AssetServer::AssetServer(QString root, std::optional<QString> images, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), m_root(std::move(root)), m_images(std::move(images)) {}

std::optional<AssetServer::Asset> AssetServer::lookup(const QUrl& url) const {
    const std::optional<QString> file = assetPath(url, m_root, m_images);
    if (!file)
        return std::nullopt;
    QFile source(*file);
    if (QFileInfo(*file).isDir() || !source.open(QIODevice::ReadOnly))
        return std::nullopt;
    return Asset{contentTypeFor(*file), source.readAll()};
}

void AssetServer::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    if (!url.isValid()) {
        job->fail(QWebEngineUrlRequestJob::UrlInvalid);
        return;
    }
    const std::optional<Asset> asset = lookup(url);
    if (!asset) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // The engine reads the buffer after this returns; it lives as long as the request.
    auto* buffer = new QBuffer(job);
    buffer->setData(asset->body);
    job->reply(asset->contentType, buffer);
}

} // namespace Dovrin::Stickies
