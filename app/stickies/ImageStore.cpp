#include "app/stickies/ImageStore.h"

#include "shared/bridge/DataDirectory.h"

#include <QDir>
#include <QJsonValue>
#include <QMimeDatabase>
#include <QSaveFile>
#include <QUuid>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

namespace {

bool isImageType(const QMimeType& type) {
    const auto isImage = [](const QString& name) { return name.startsWith("image/"_L1); };
    const QStringList ancestors = type.allAncestors();
    return isImage(type.name()) || std::any_of(ancestors.cbegin(), ancestors.cend(), isImage);
}

std::optional<qint64> integerValue(const QJsonValue& value) {
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    // Beyond 2^53 a double no longer names one integer.
    if (number != std::trunc(number) || std::abs(number) > 9007199254740992.0)
        return std::nullopt;
    return static_cast<qint64>(number);
}

} // namespace

std::optional<QString> imagesFolder() {
    return Bridge::dataFile(QString::fromLatin1(Bridge::imagesFolderName));
}

ImageStore::ImageStore(std::optional<QString> folder) : m_folder(std::move(folder)) {}

Result<QString, ImageStoreError> ImageStore::store(const QByteArray& bytes, const QString& mimeType) const {
    if (!m_folder)
        return ImageStoreError{u"data directory unavailable"_s};

    const QMimeType type = QMimeDatabase().mimeTypeForName(mimeType);
    if (!type.isValid() || !isImageType(type) || type.preferredSuffix().isEmpty())
        return ImageStoreError{u"not an image type: "_s + mimeType};

    if (!QDir().mkpath(*m_folder))
        return ImageStoreError{u"could not create the folder "_s + *m_folder};

    const QString fileName = QUuid::createUuid().toString(QUuid::WithoutBraces).toLower() + QLatin1Char('.') +
                             type.preferredSuffix();
    QSaveFile file(*m_folder + QLatin1Char('/') + fileName);
    if (!file.open(QIODevice::WriteOnly))
        return ImageStoreError{file.errorString()};
    if (file.write(bytes) != bytes.size() || !file.commit())
        return ImageStoreError{file.errorString()};
    return imageUrlPrefix + fileName;
}

std::optional<ImageMessageOutcome> ImageStore::storeMessage(const QJsonObject& body) const {
    const std::optional<qint64> id = integerValue(body.value("id"_L1));
    if (!id)
        return std::nullopt;
    const ImageStoreError malformed{u"malformed image message"_s};
    const QJsonValue mime = body.value("mime"_L1);
    const QJsonValue data = body.value("data"_L1);
    if (!mime.isString() || !data.isString())
        return ImageMessageOutcome{*id, malformed};
    const auto decoded =
        QByteArray::fromBase64Encoding(data.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    // Non-Latin-1 text turns into '?' above, which the strict decoder refuses as well.
    if (!decoded || decoded.decoded.isEmpty())
        return ImageMessageOutcome{*id, malformed};
    const Result<QString, ImageStoreError> url = store(decoded.decoded, mime.toString());
    if (!url)
        return ImageMessageOutcome{*id, url.error()};
    return ImageMessageOutcome{*id, StoredImage{*url, decoded.decoded.size()}};
}

} // namespace Dovrin::Stickies
