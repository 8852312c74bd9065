// The skin package reader on any bytes. The first byte chooses the mode:
//   even: the rest is a packed package;
//   odd:  the rest is an unpacked package, packed here first, so that the
//         fuzzer reaches the header, directory and size table directly.
// Every entry the reader hands out must lie inside its data area.
#include "fuzz_targets.h"

#include "platform/message_box.h"
#include "skin-pack/lzhuf_encoder.h"
#include "skin/data/skin_reader.h"

#include <QBuffer>

namespace {

const bool quietMessages = [] {
    platform::setMessageBoxAnswerer(
        [](const QString&, const QString&, unsigned) { return platform::IdOk; });
    return true;
}();

} // namespace

int fuzzSkinReader(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    QByteArray packed(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));
    if (data[0] % 2 == 1)
        packed = skinpack::lzhufCompress(packed);
    QBuffer buffer(&packed);
    buffer.open(QIODevice::ReadOnly);
    TSkinReader reader;
    if (!reader.load(buffer))
        return 0;

    for (const QString& name : reader.directory())
        FUZZ_CHECK(reader.extractByName(name.toUpper()).size() <= reader.dataSize());
    for (const char* fragment : {".ini", "", "a"}) {
        QString name;
        const QByteArray entry = reader.extractByFragment(QString::fromLatin1(fragment), name);
        FUZZ_CHECK(entry.isEmpty() || reader.directory().contains(name));
    }
    return 0;
}

MARVANTO_FUZZ_ENTRY(fuzzSkinReader)
