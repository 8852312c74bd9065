#pragma once

// The process's resident memory and its peak, from /proc, for the benchmarks
// that say how much memory an action adds.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdlib>
#include <cstring>

namespace bench {

// Kilobytes of a line of /proc/self/status ("VmRSS:", or "VmHWM:" the peak).
inline long statusKb(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return std::atol(line.constData() + std::strlen(key));
    }
    return 0;
}

// Starts a new peak: the kernel sets VmHWM back to the present VmRSS.
inline void resetPeak() {
    if (QFile reset(QStringLiteral("/proc/self/clear_refs")); reset.open(QIODevice::WriteOnly))
        reset.write("5");
}

} // namespace bench
