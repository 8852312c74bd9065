#include "skin/data/skin_reader.h"

#include "platform/message_box.h"
#include "skin/data/lzh.h"
#include "skin/data/text_lines.h"

#include <QBuffer>
#include <QtEndian>

#include <algorithm>
#include <array>

namespace {

// Every LZHUF symbol takes at least one bit and a copy of at most 60 bytes at
// least ten, so a stream yields at most 6 bytes a bit. A larger stated size
// can only come from a damaged or cut stream; decoding it would just fill
// memory with meaningless bytes.
constexpr qint64 MaxBytesPerPackedByte = 48;

qint64 maxUnpackedSize(qint64 packedSize) {
    return std::max<qint64>(0, packedSize - 4) * MaxBytesPerPackedByte;
}

// Reads little-endian 32-bit words from unpacked bytes; bytes past the end
// read as 0.
class Cursor {
public:
    explicit Cursor(const QByteArray& bytes) : mBytes(bytes) {}

    qint32 int32() {
        std::array<uchar, 4> word{};
        const qsizetype n = std::min<qsizetype>(4, remaining());
        std::copy_n(mBytes.constData() + mPosition, n, word.begin());
        mPosition += n;
        return qFromLittleEndian<qint32>(word.data());
    }

    QByteArray take(qint64 count) {
        const qsizetype n = static_cast<qsizetype>(std::clamp<qint64>(count, 0, remaining()));
        const QByteArray result = mBytes.mid(mPosition, n);
        mPosition += n;
        return result;
    }

    QByteArray rest() { return take(remaining()); }

private:
    qsizetype remaining() const { return mBytes.size() - mPosition; }

    const QByteArray& mBytes;
    qsizetype mPosition = 0;
};

} // namespace

int TSkinReader::skippedBlockSize(qint32 versionCode) {
    switch (versionCode) {
    case 20000:
        return 0;
    case 30000:
        return 256;
    case 40000:
        return 80;
    case 50000:
        return 48;
    case 60000:
        return 117;
    case 70000:
        return 69;
    default:
        return -1;
    }
}

bool TSkinReader::load(QIODevice& packed) {
    *this = TSkinReader();

    packed.seek(0);
    std::array<uchar, 4> stated{};
    packed.peek(reinterpret_cast<char*>(stated.data()), stated.size());
    if (qFromLittleEndian<qint32>(stated.data()) > maxUnpackedSize(packed.size()))
        return false;

    QByteArray unpacked;
    {
        QBuffer scratch(&unpacked);
        scratch.open(QIODevice::WriteOnly);
        TLZH lzh;
        lzh.inputStream = &packed;
        lzh.outputStream = &scratch;
        lzh.decompress();
    }

    Cursor cursor(unpacked);
    mVersionCode = cursor.int32();
    mDirectoryLength = cursor.int32();
    mReserved[0] = cursor.int32();
    mReserved[1] = cursor.int32();
    const int skipped = skippedBlockSize(mVersionCode);
    if (skipped < 0) {
        platform::showMessage(
            QStringLiteral("This is Older Skin File\rPlease update to new version !"));
        return false;
    }
    cursor.take(skipped);

    const QByteArray directoryText = skin::asciiLower(cursor.take(mDirectoryLength));
    for (const QByteArray& line : skin::splitLines(directoryText))
        mDirectory.append(QString::fromUtf8(line));

    // The table grows with the directory: the number of entries is bounded
    // only by the directory's own length.
    mSizes.reserve(mDirectory.size());
    mOffsets.reserve(mDirectory.size());
    qint64 offset = 0;
    for (qsizetype i = 0; i < mDirectory.size(); ++i) {
        mSizes.push_back(cursor.int32());
        mOffsets.push_back(offset);
        offset += mSizes.back();
    }
    mData = cursor.rest();
    return true;
}

QByteArray TSkinReader::entry(qsizetype index) const {
    const qint64 offset = mOffsets[index];
    const qint64 size = mSizes[index];
    if (size < 0 || offset < 0 || offset + size > mData.size())
        return {};
    return mData.mid(static_cast<qsizetype>(offset), static_cast<qsizetype>(size));
}

QByteArray TSkinReader::extractByName(const QString& name) const {
    const qsizetype index = mDirectory.indexOf(skin::asciiLower(name));
    return index < 0 ? QByteArray() : entry(index);
}

QByteArray TSkinReader::extractByFragment(const QString& fragment, QString& name) const {
    for (qsizetype i = 0; i < mDirectory.size(); ++i) {
        if (mDirectory[i].contains(fragment)) {
            name = mDirectory[i];
            return entry(i);
        }
    }
    return {};
}
