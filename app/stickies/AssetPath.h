#pragma once

#include <QString>

#include <optional>

class QUrl;

namespace Dovrin::Stickies {

// The file an "app://local/…" URL names: under `images` for "/images/…" when there is an images folder,
// else under `root`; "/" and "" name "/index.html". Nothing when the path leaves its folder. Kept apart
// from the asset server so that it can be checked without a web engine.
std::optional<QString> assetPath(const QUrl& url, const QString& root, const std::optional<QString>& images);

} // namespace Dovrin::Stickies
