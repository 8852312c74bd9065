#pragma once

#include <QByteArray>
#include <QImage>

#include <stdexcept>

namespace platform {

class JpegError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decodes JPEG bytes with libjpeg into a 32-bit image. Damaged data throws
// JpegError with libjpeg's message.
QImage decodeJpeg(const QByteArray& bytes);

// Encodes an image as baseline JPEG of the given quality (1 to 100).
QByteArray encodeJpeg(const QImage& image, int quality = 90);

} // namespace platform
