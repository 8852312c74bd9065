#pragma once

// Forcing written data onto the disk: a file's bytes, and a folder's entries
// (a file made, renamed or removed in it), so that a power cut after the call
// finds them as they were at the call.

#include <QString>

namespace platform {

// False when the file or folder cannot be opened or synced.
bool syncFile(const QString& path);
bool syncFolder(const QString& path);

} // namespace platform
