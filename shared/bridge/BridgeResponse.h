#pragma once

#include "app/core/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace Dovrin::Bridge {

// The app's answer to one tool call: text (or an error object rendered as text) and, for read_note,
// images.
struct BridgeResponse final {
    struct Image final {
        QString data; // standard Base64 with padding, no line breaks
        QString mimeType;

        bool operator==(const Image&) const = default;
    };

    QString text;
    QList<Image> images;
    bool isError = false;

    // Compact JSON with "text", "images" and "isError".
    QByteArray encode() const;
    // Every key of the response and of each image is required, with its type; anything else is refused.
    static Result<BridgeResponse, QString> decode(const QByteArray& bytes);

    bool operator==(const BridgeResponse&) const = default;
};

} // namespace Dovrin::Bridge
