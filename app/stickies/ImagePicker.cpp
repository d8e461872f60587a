#include "app/stickies/ImagePicker.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QMimeDatabase>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies::ImagePicker {

namespace {

// The image types the editor page can show.
const QStringList shownTypes{u"image/png"_s,
                             u"image/jpeg"_s,
                             u"image/gif"_s,
                             u"image/webp"_s,
                             u"image/svg+xml"_s,
                             u"image/bmp"_s,
                             u"image/vnd.microsoft.icon"_s,
                             u"image/avif"_s};

QString nameFilter() {
    const QMimeDatabase types;
    QStringList patterns;
    for (const QString& name : shownTypes) {
        const QMimeType type = types.mimeTypeForName(name);
        if (type.isValid())
            patterns += type.globPatterns();
    }
    patterns.removeDuplicates();
    return QCoreApplication::translate("Dovrin::Stickies::ImagePicker", "Images",
                                       "File dialog filter: image files") +
           u" ("_s + patterns.join(u' ') + u')';
}

} // namespace

void open(QWidget* sticky, std::function<void(const QString& path)> picked) {
    auto* dialog = new QFileDialog(sticky);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilter(nameFilter());
    dialog->setModal(false);
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog,
                     [picked = std::move(picked)](const QString& path) { picked(path); });
    dialog->show();
}

Result<QJsonObject, QString> insertArguments(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    const QString mime = type.isValid() && !type.isDefault() ? type.name() : u"application/octet-stream"_s;
    return QJsonObject{{"mime"_L1, mime}, {"data"_L1, QString::fromLatin1(bytes.toBase64())}};
}

} // namespace Dovrin::Stickies::ImagePicker
