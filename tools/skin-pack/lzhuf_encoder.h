#pragma once

#include <QByteArray>

namespace skinpack {

// Compresses `input` into the form the skin's LZHUF decoder reads: the size as
// a signed 32-bit little-endian count, then the bit stream, most significant
// bit first, padded with zero bits to a whole byte.
QByteArray lzhufCompress(const QByteArray& input);

} // namespace skinpack
