#pragma once

#include <QByteArray>
#include <QStringList>

#include <vector>

class QIODevice;

// Reads a skin package: an LZHUF-compressed archive whose unpacked form is
//   version code, directory length L, two reserved words (32-bit each),
//   a block whose size depends on the version, L bytes of directory text
//   (one entry name a line), a 32-bit size per entry, and the entries' bytes.
// All integers are signed little-endian. Names are kept lowercased.
class TSkinReader {
public:
    // The size of the block between the header and the directory for a known
    // version code, or -1 for a code this reader does not know.
    static int skippedBlockSize(qint32 versionCode);

    // Unpacks the package held in `packed` (from position 0). False, with a
    // message box, for an unknown version code; false without one when the
    // stated unpacked size is more than the packed bytes could ever give.
    bool load(QIODevice& packed);

    // The bytes of the first entry whose name equals `name` in any case
    // (ASCII letters), or nothing when there is none or its size does not fit
    // the data area. `name` carries no path.
    QByteArray extractByName(const QString& name) const;

    // The bytes of the first entry, in directory order, whose name contains
    // `fragment` (compared as given with the lowercased names). Sets `name` to
    // the entry's name; leaves it alone and returns nothing when none matches.
    QByteArray extractByFragment(const QString& fragment, QString& name) const;

    qint32 versionCode() const { return mVersionCode; }
    qint32 directoryLength() const { return mDirectoryLength; }
    const QStringList& directory() const { return mDirectory; }
    qint64 dataSize() const { return mData.size(); }

private:
    QByteArray entry(qsizetype index) const;

    qint32 mVersionCode = 0;
    qint32 mDirectoryLength = 0;
    qint32 mReserved[2] = {0, 0};
    QStringList mDirectory;
    std::vector<qint32> mSizes;
    std::vector<qint64> mOffsets; // where each entry starts in mData
    QByteArray mData;
};
