// The LZHUF decoder on any bytes. The first byte chooses the mode:
//   even: the rest is a compressed stream; the output must have the stated
//         size, plus at most the tail of the last copy;
//   odd:  the rest is plain data; encoding and decoding it must give it back.
#include "fuzz_targets.h"

#include "skin-pack/lzhuf_encoder.h"
#include "skin/data/lzh.h"

#include <QBuffer>
#include <QtEndian>

#include <array>

namespace {

// Large stated sizes only make the run slow: decode at most this much.
constexpr qint32 MaxOutput = 1 << 16;

QByteArray decodeStream(QByteArray packed, qint32& stated) {
    std::array<char, 4> size{};
    std::copy_n(packed.constData(), std::min<qsizetype>(4, packed.size()), size.begin());
    stated = qFromLittleEndian<qint32>(size.data());

    QBuffer input(&packed);
    input.open(QIODevice::ReadOnly);
    QByteArray unpacked;
    QBuffer output(&unpacked);
    output.open(QIODevice::WriteOnly);
    TLZH lzh;
    lzh.inputStream = &input;
    lzh.outputStream = &output;
    if (stated <= MaxOutput) {
        lzh.decompress();
    } else {
        stated = MaxOutput;
        input.seek(std::min<qint64>(4, packed.size()));
        TLZH::StreamSource source(input);
        TLZH::StreamSink sink(output);
        lzh.decode(stated, TLZH::StreamSink::write, &sink, TLZH::StreamSource::read, &source);
    }
    output.close();
    return unpacked;
}

} // namespace

int fuzzLzh(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const QByteArray rest(reinterpret_cast<const char*>(data) + 1,
                          static_cast<qsizetype>(size - 1));
    qint32 stated = 0;
    if (data[0] % 2 == 0) {
        const QByteArray unpacked = decodeStream(rest, stated);
        if (stated <= 0)
            FUZZ_CHECK(unpacked.isEmpty());
        else
            FUZZ_CHECK(unpacked.size() >= stated && unpacked.size() < qint64(stated) + 60);
    } else {
        const QByteArray unpacked = decodeStream(skinpack::lzhufCompress(rest), stated);
        FUZZ_CHECK(stated == rest.size());
        FUZZ_CHECK(unpacked == rest);
    }
    return 0;
}

MARVANTO_FUZZ_ENTRY(fuzzLzh)
