#include "app/core/AppFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace Dovrin::Core {

QString appFilesFolder(const QString& name, const QString& buildFolder) {
    // The executable's folder with its links resolved, so a link to an installed dovrin finds its files.
    const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/' +
                                              QString::fromUtf8(DOVRIN_FILES_FROM_BINDIR) + u'/' + name);
    return QFileInfo(installed).isDir() ? installed : QDir::cleanPath(buildFolder);
}

} // namespace Dovrin::Core
