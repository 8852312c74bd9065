#pragma once

#include <QByteArray>

#include <stdexcept>
#include <vector>

class QIODevice;

// Raised when the decoder cannot get or give back its tables.
class ElzhException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// LZHUF decoder: LZSS copies from a 4096-byte ring, with literals and copy
// lengths in one adaptive Huffman tree and copy positions in a fixed prefix
// code. Compressed streams start with the unpacked size as a signed 32-bit
// little-endian count; the bit stream follows, most significant bit first.
//
// One object serves one decoding: set the two streams, call decompress().
class TLZH {
public:
    // Both procedures move up to `count` bytes between `buffer` and the place
    // behind `context` and report how many they moved in `delivered`.
    using ReadProc = void (*)(void* context, quint8* buffer, quint16 count, quint16& delivered);
    using WriteProc = void (*)(void* context, const quint8* buffer, quint16 count,
                               quint16& delivered);

    // The messages of ElzhException. Giving the tables back cannot fail with
    // this program's allocator, so only the first is ever raised.
    static constexpr const char* NoMemoryMessage = "LZH : Cannot get memory for dictionary tables";
    static constexpr const char* FreeFailedMessage =
        "LZH : Error freeing memory for dictionary tables";

    // The streams are not owned.
    QIODevice* inputStream = nullptr;
    QIODevice* outputStream = nullptr;

    // Decodes until `unpackedSize` bytes have been written (nothing when the size
    // is 0 or less). Reads and writes one byte per call. A read that delivers
    // nothing counts as a 0x00 byte, so a stream cut short still yields the
    // stated size. The last copy is always written whole.
    void decode(qint32 unpackedSize, WriteProc write, void* writeContext, ReadProc read,
                void* readContext);

    // Rewinds both streams, reads the unpacked size from the input and decodes
    // the rest of it into the output from position 0. The caller seeks the
    // output before reading it.
    void decompress();

    // The contexts of the stream procedures. The decoder moves one byte per
    // call; they pass bytes to and from the device in blocks, so that a call
    // per byte stays cheap.
    class StreamSource {
    public:
        explicit StreamSource(QIODevice& device);
        // Leaves the device just after the last byte delivered.
        ~StreamSource();
        // Delivers at most the bytes left before the end of the device.
        static void read(void* source, quint8* buffer, quint16 count, quint16& delivered);

    private:
        QIODevice& mDevice;
        std::vector<char> mBlock;
        qsizetype mSize = 0; // bytes of the block read from the device
        qsizetype mNext = 0;
    };

    class StreamSink {
    public:
        explicit StreamSink(QIODevice& device);
        // Writes what the block still holds.
        ~StreamSink();
        static void write(void* sink, const quint8* buffer, quint16 count, quint16& delivered);

    private:
        void flush();

        QIODevice& mDevice;
        std::vector<char> mBlock;
    };
};
