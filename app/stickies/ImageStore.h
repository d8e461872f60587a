#pragma once

#include "app/core/Result.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

namespace Dovrin::Stickies {

struct ImageStoreError {
    QString description;
};

// The folder of the images that notes reference, inside the data directory; nothing when the data
// directory is unavailable. Shared by the asset server and the image store.
std::optional<QString> imagesFolder();

inline constexpr QLatin1StringView imageUrlPrefix{"app://local/images/"};

struct StoredImage {
    QString url;
    qsizetype bytes = 0;
};

// What an "image" message from the page came to: the id to answer, and the stored image or why not.
struct ImageMessageOutcome {
    qint64 id = 0;
    Result<StoredImage, ImageStoreError> stored;
};

// Turns image bytes handed over by the editor into a file in the images folder and the URL that the
// markdown refers to.
class ImageStore final {
public:
    explicit ImageStore(std::optional<QString> folder = imagesFolder());

    // The "app://local/images/…" URL of the stored file.
    Result<QString, ImageStoreError> store(const QByteArray& bytes, const QString& mimeType) const;

    // Stores the picture of an "image" message ({ id, mime, data } with base64 data). Nothing when the
    // message has no integer id, since there is nobody to answer then.
    std::optional<ImageMessageOutcome> storeMessage(const QJsonObject& body) const;

private:
    std::optional<QString> m_folder;
};

} // namespace Dovrin::Stickies
