#pragma once

#include <QString>

namespace platform {

// The executable's folder, ending in a separator. Everything the program
// reads or writes lies relative to it, never to the current directory. The
// driver may run the program as if its executable lay elsewhere.
QString appDir();
void setAppDir(const QString& folder);

// A path below the executable's folder.
QString appPath(const QString& relative);

} // namespace platform
