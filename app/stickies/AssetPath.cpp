#include "app/stickies/AssetPath.h"

#include <QDir>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

std::optional<QString> assetPath(const QUrl& url, const QString& root, const std::optional<QString>& images) {
    QString path = url.path(QUrl::FullyDecoded);
    if (path.isEmpty() || path == "/"_L1)
        path = u"/index.html"_s;

    const QString imagesPrefix = u"/images/"_s;
    QString base = root;
    QString relative = path;
    if (images && path.startsWith(imagesPrefix)) {
        base = *images;
        relative = path.mid(imagesPrefix.size());
    }

    const QString cleanBase = QDir::cleanPath(base);
    const QString file = QDir::cleanPath(base + QLatin1Char('/') + relative);
    if (!file.startsWith(cleanBase + QLatin1Char('/')))
        return std::nullopt;
    return file;
}

} // namespace Dovrin::Stickies
