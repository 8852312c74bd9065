#include "platform/stored_text.h"

#include <QStringDecoder>

#include <algorithm>

namespace platform {

QString storedText(std::string_view utf8) {
    // Most stored texts (keys, amounts, times) are plain ASCII, which reads
    // byte for byte without a decoder.
    if (std::all_of(utf8.begin(), utf8.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(utf8.data(), static_cast<qsizetype>(utf8.size()));
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

} // namespace platform
