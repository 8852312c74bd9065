#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace skinpack {

struct PackageEntry {
    QString name; // a plain file name; the reader finds it in any case
    QByteArray data;
};

constexpr qint32 CurrentVersion = 70000;

// The unpacked package: header (version, directory length, two reserved
// words), the version's block of zeros, the directory (one name and CR LF per
// entry), the size table and the entries' bytes in directory order. A version
// code the reader does not know gets no block.
QByteArray unpackedPackage(const QList<PackageEntry>& entries, qint32 versionCode = CurrentVersion);

// The same, LZHUF-compressed: what a skin package file holds.
QByteArray packPackage(const QList<PackageEntry>& entries, qint32 versionCode = CurrentVersion);

} // namespace skinpack
