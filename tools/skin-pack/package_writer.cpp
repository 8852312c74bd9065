#include "skin-pack/package_writer.h"

#include "skin-pack/lzhuf_encoder.h"
#include "skin/data/skin_reader.h"

#include <QtEndian>

#include <algorithm>

namespace skinpack {

namespace {

void appendInt32(QByteArray& out, qint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

QByteArray unpackedPackage(const QList<PackageEntry>& entries, qint32 versionCode) {
    QByteArray directory;
    for (const PackageEntry& entry : entries)
        directory += entry.name.toUtf8() + "\r\n";

    QByteArray out;
    appendInt32(out, versionCode);
    appendInt32(out, static_cast<qint32>(directory.size()));
    appendInt32(out, 0);
    appendInt32(out, 0);
    out.append(std::max(0, TSkinReader::skippedBlockSize(versionCode)), '\0');
    out += directory;
    for (const PackageEntry& entry : entries)
        appendInt32(out, static_cast<qint32>(entry.data.size()));
    for (const PackageEntry& entry : entries)
        out += entry.data;
    return out;
}

QByteArray packPackage(const QList<PackageEntry>& entries, qint32 versionCode) {
    return lzhufCompress(unpackedPackage(entries, versionCode));
}

} // namespace skinpack
