#include "platform/file_sync.h"

#include <QFile>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

#ifndef _WIN32
bool syncPath(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}
#endif

} // namespace

bool syncFile(const QString& path) {
#ifdef _WIN32
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && ::_commit(file.handle()) == 0;
#else
    return syncPath(path, O_RDONLY);
#endif
}

bool syncFolder(const QString& path) {
#ifdef _WIN32
    // The file system keeps its folder entries in its own journal.
    Q_UNUSED(path);
    return true;
#else
    return syncPath(path, O_RDONLY | O_DIRECTORY);
#endif
}

} // namespace platform
