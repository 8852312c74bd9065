#include "platform/jpeg_image.h"

#include <gtest/gtest.h>

TEST(Jpeg, EncodedPictureDecodesToTheSameSizeAndColours) {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 30));
    for (int x = 20; x < 40; ++x)
        for (int y = 0; y < 20; ++y)
            image.setPixelColor(x, y, QColor(20, 60, 220));
    const QImage decoded = platform::decodeJpeg(platform::encodeJpeg(image, 95));
    ASSERT_EQ(decoded.size(), image.size());
    const QColor left = decoded.pixelColor(5, 10);
    const QColor right = decoded.pixelColor(35, 10);
    EXPECT_NEAR(left.red(), 200, 8);
    EXPECT_NEAR(left.blue(), 30, 8);
    EXPECT_NEAR(right.blue(), 220, 8);
    EXPECT_NEAR(right.red(), 20, 8);
}

TEST(Jpeg, DamagedDataThrows) {
    EXPECT_THROW(platform::decodeJpeg(QByteArray()), platform::JpegError);
    EXPECT_THROW(platform::decodeJpeg(QByteArray("not a jpeg at all")), platform::JpegError);
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QByteArray cut = platform::encodeJpeg(image).left(30);
    EXPECT_THROW(platform::decodeJpeg(cut), platform::JpegError);
}
