#pragma once

#include "app/core/Result.h"

#include <QJsonObject>
#include <QString>

#include <functional>

class QWidget;

namespace Dovrin::Stickies {

// The slash menu's "Image…": a file dialog that shows only images, opened beside the sticky without
// blocking it, and the picked file turned into the page's insertImageFile arguments.
namespace ImagePicker {

// Opens the dialog; `picked` gets the chosen file's path, and is not called when the user cancels.
void open(QWidget* sticky, std::function<void(const QString& path)> picked);

// { mime, data }: the MIME type for the file name's extension (else "application/octet-stream") and the
// whole file in base64; the reason when the file cannot be read.
Result<QJsonObject, QString> insertArguments(const QString& path);

} // namespace ImagePicker

} // namespace Dovrin::Stickies
