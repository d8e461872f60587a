#include "app/stickies/AssetPath.h"

#include <QStringList>
#include <QUrl>

#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

// Any URL the editor page could ask for maps into the page's folder or the images folder and nowhere else.
// The check resolves "." and ".." one segment at a time, as the kernel does for a path without symlinks.
// The first byte picks how the URL reaches the server and which folders it has; the rest is the URL.

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

QString resolved(const QString& path) {
    QStringList kept;
    for (const QString& segment : path.split(QLatin1Char('/'))) {
        if (segment.isEmpty() || segment == "."_L1)
            continue;
        if (segment == ".."_L1) {
            if (!kept.isEmpty())
                kept.removeLast();
            continue;
        }
        kept.append(segment);
    }
    return QLatin1Char('/') + kept.join(QLatin1Char('/'));
}

bool inside(const QString& file, const QString& folder) {
    return resolved(file).startsWith(resolved(folder) + QLatin1Char('/'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t control = data[0];
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    QUrl url;
    switch (control % 3) {
    case 0:
        url = QUrl(text);
        break;
    case 1:
        url = QUrl(u"app://local"_s);
        url.setPath(text, QUrl::TolerantMode);
        break;
    default:
        url = QUrl(u"app://local"_s);
        url.setPath(text, QUrl::DecodedMode);
        break;
    }

    // The folders as the app has them, and with the spellings a data directory could arrive in.
    const QString root = (control & 8) ? u"/usr/share/dovrin/dist/"_s : u"/usr/share/dovrin/dist"_s;
    const QString imagesFolder = (control & 16) ? u"/home/user/.local/share/dovrin//Images/"_s
                                                : u"/home/user/.local/share/dovrin/Images"_s;
    const std::optional<QString> images = (control & 4) ? std::nullopt : std::optional<QString>(imagesFolder);

    const auto file = Dovrin::Stickies::assetPath(url, root, images);
    if (!file)
        return 0;
    require(inside(*file, root) || (images && inside(*file, *images)));
    // The path is opened as it is: it must already be the resolved one, so the kernel reads what was checked.
    require(resolved(*file) == *file || file->contains(QChar()));
    return 0;
}
