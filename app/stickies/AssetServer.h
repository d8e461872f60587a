#pragma once

#include "app/stickies/ImageStore.h"

#include <QByteArray>
#include <QString>
#include <QWebEngineUrlSchemeHandler>

#include <optional>

class QUrl;

namespace Dovrin::Stickies {

// Answers every "app://local/…" request: the editor page's files from its folder, and the images that
// notes reference from the images folder. Anything missing, unreadable or outside those folders is a 404.
class AssetServer final : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
    Q_DISABLE_COPY(AssetServer)

public:
    struct Asset {
        QByteArray contentType;
        QByteArray body;
    };

    explicit AssetServer(QString root, std::optional<QString> images = imagesFolder(),
                         QObject* parent = nullptr);

    // The file a URL names, or nothing for a 404.
    std::optional<Asset> lookup(const QUrl& url) const;

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    QString m_root;
    std::optional<QString> m_images;
};

} // namespace Dovrin::Stickies
