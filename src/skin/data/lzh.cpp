#include "skin/data/lzh.h"

#include "skin/data/lzhuf_tree.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <memory>
#include <new>

using namespace skin::lzhuf;

namespace {

// Everything a decoding allocates: the tree and the ring of recent output.
struct Tables {
    Tree tree;
    std::array<quint8, RingSize + MaxMatch - 1> ring{};
};

// Bits of the input, most significant first, fetched one byte per read call.
class BitInput {
public:
    BitInput(TLZH::ReadProc read, void* context) : mRead(read), mContext(context) {}

    int bit() {
        refill();
        const int result = mBuffer >> 15;
        mBuffer = static_cast<quint16>(mBuffer << 1);
        --mCount;
        return result;
    }

    int byte() {
        refill();
        const int result = mBuffer >> 8;
        mBuffer = static_cast<quint16>(mBuffer << 8);
        mCount -= 8;
        return result;
    }

private:
    void refill() {
        while (mCount <= 8) {
            quint8 next = 0;
            quint16 delivered = 0;
            mRead(mContext, &next, 1, delivered);
            if (delivered == 0)
                next = 0;
            mBuffer = static_cast<quint16>(mBuffer | (next << (8 - mCount)));
            mCount += 8;
        }
    }

    TLZH::ReadProc mRead;
    void* mContext;
    quint16 mBuffer = 0;
    quint8 mCount = 0;
};

int decodeSymbol(Tree& tree, BitInput& input) {
    int c = tree.child[Root];
    while (c < TreeSize)
        c = tree.child[c + input.bit()];
    c -= TreeSize;
    tree.update(c);
    return c;
}

// The distance of a copy, 0 to 4095, counted back from the last byte written.
int decodePosition(BitInput& input) {
    int b = input.byte();
    const int upper = positionTables.upper[b];
    for (int n = positionTables.length[b] - 2; n > 0; --n)
        b = ((b << 1) + input.bit()) & 0xFFFF;
    return (upper << 6) | (b & 0x3F);
}

} // namespace

void TLZH::decode(qint32 unpackedSize, WriteProc write, void* writeContext, ReadProc read,
                  void* readContext) {
    std::unique_ptr<Tables> tables;
    try {
        tables = std::make_unique<Tables>();
    } catch (const std::bad_alloc&) {
        throw ElzhException(NoMemoryMessage);
    }
    Tree& tree = tables->tree;
    auto& ring = tables->ring;
    tree.start();
    std::fill(ring.begin(), ring.begin() + InitialWritePosition, InitialFill);

    BitInput input(read, readContext);
    int r = InitialWritePosition;
    qint64 produced = 0; // a last copy may run past a size near the 32-bit limit
    auto put = [&](quint8 byte) {
        quint16 delivered = 0;
        write(writeContext, &byte, 1, delivered);
        ring[r] = byte;
        r = (r + 1) & RingMask;
        ++produced;
    };

    while (produced < unpackedSize) {
        const int c = decodeSymbol(tree, input);
        if (c < 256) {
            put(static_cast<quint8>(c));
            continue;
        }
        const int start = r - decodePosition(input) - 1;
        const int length = symbolLength(c);
        for (int k = 0; k < length; ++k)
            put(ring[(start + k) & RingMask]);
    }
}

void TLZH::decompress() {
    inputStream->seek(0);
    outputStream->seek(0);
    std::array<uchar, 4> size{};
    inputStream->read(reinterpret_cast<char*>(size.data()), size.size());
    StreamSource source(*inputStream);
    StreamSink sink(*outputStream);
    decode(qFromLittleEndian<qint32>(size.data()), StreamSink::write, &sink, StreamSource::read,
           &source);
}

namespace {
constexpr qsizetype StreamBlockSize = 64 * 1024;
}

TLZH::StreamSource::StreamSource(QIODevice& device) : mDevice(device), mBlock(StreamBlockSize) {}

TLZH::StreamSource::~StreamSource() {
    const qsizetype unused = mSize - mNext;
    if (unused > 0 && !mDevice.isSequential())
        mDevice.seek(mDevice.pos() - unused);
}

void TLZH::StreamSource::read(void* context, quint8* buffer, quint16 count, quint16& delivered) {
    auto& self = *static_cast<StreamSource*>(context);
    if (self.mNext == self.mSize) {
        // Past the end this is one cheap call per byte: no allocation.
        self.mSize = std::max<qint64>(0, self.mDevice.read(self.mBlock.data(), StreamBlockSize));
        self.mNext = 0;
    }
    const qsizetype n = std::min<qsizetype>(count, self.mSize - self.mNext);
    std::copy_n(self.mBlock.data() + self.mNext, n, buffer);
    self.mNext += n;
    delivered = static_cast<quint16>(n);
}

TLZH::StreamSink::StreamSink(QIODevice& device) : mDevice(device) {
    // The decoder hands its bytes over one at a time: the block never grows.
    mBlock.reserve(StreamBlockSize);
}

TLZH::StreamSink::~StreamSink() {
    flush();
}

void TLZH::StreamSink::write(void* context, const quint8* buffer, quint16 count,
                             quint16& delivered) {
    auto& self = *static_cast<StreamSink*>(context);
    self.mBlock.insert(self.mBlock.end(), buffer, buffer + count);
    if (static_cast<qsizetype>(self.mBlock.size()) >= StreamBlockSize)
        self.flush();
    delivered = count;
}

void TLZH::StreamSink::flush() {
    if (!mBlock.empty())
        mDevice.write(mBlock.data(), static_cast<qint64>(mBlock.size()));
    mBlock.clear();
}
