#pragma once

#include <QString>

namespace Dovrin::Core {

// Where a folder of the files Dovrin reads at run time lives ("editor" for the editor page, "translations"):
// in the install layout beside the executable (<prefix>/share/dovrin/<name> for <prefix>/bin/dovrin) when it
// is there, else `buildFolder`, where the build tree makes it. Needs the application object.
QString appFilesFolder(const QString& name, const QString& buildFolder);

} // namespace Dovrin::Core
