#include "skin/data/bitmap_utils.h"

#include <QImage>
#include <QPainter>
#include <QPalette>

#include <gtest/gtest.h>

#include <vector>

using namespace skin;

namespace {

// Six distinct pixels a b c / d e f.
const QRgb a = qRgb(1, 2, 3), b = qRgb(10, 20, 30), c = qRgb(40, 50, 60), d = qRgb(70, 80, 90),
           e = qRgb(100, 110, 120), f = qRgb(130, 140, 150);

QImage image(int width, const std::vector<QRgb>& pixels,
             QImage::Format format = QImage::Format_RGB888) {
    const int height = static_cast<int>(pixels.size()) / width;
    QImage result(width, height, QImage::Format_RGB32);
    for (int i = 0; i < static_cast<int>(pixels.size()); ++i)
        result.setPixel(i % width, i / width, pixels[i]);
    return result.convertToFormat(format);
}

std::vector<QRgb> pixels(const QImage& picture) {
    std::vector<QRgb> result;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            result.push_back(picture.pixel(x, y) & 0xFFFFFF);
    return result;
}

std::vector<QRgb> rgb24(std::vector<QRgb> values) {
    for (QRgb& v : values)
        v &= 0xFFFFFF;
    return values;
}

} // namespace

TEST(MulDiv, RoundsHalvesAwayFromZeroWithA64BitIntermediate) {
    EXPECT_EQ(MulDiv(10, 1, 4), 3); // 2.5
    EXPECT_EQ(MulDiv(9, 1, 4), 2);  // 2.25
    EXPECT_EQ(MulDiv(-10, 1, 4), -3);
    EXPECT_EQ(MulDiv(10, -1, 4), -3);
    EXPECT_EQ(MulDiv(10, 1, -4), -3);
    EXPECT_EQ(MulDiv(-10, -1, -4), -3);
    EXPECT_EQ(MulDiv(-10, 1, -4), 3);
    EXPECT_EQ(MulDiv(7, 3, 7), 3);
    // The product overflows 32 bits, the quotient does not.
    EXPECT_EQ(MulDiv(100000, 100000, 50000), 200000);
    EXPECT_EQ(MulDiv(INT32_MIN, 1, 1), INT32_MIN);
    EXPECT_EQ(MulDiv(INT32_MIN, -1, 1), -1) << "2^31 does not fit";
    EXPECT_EQ(MulDiv(5, 3, 0), -1);
    EXPECT_EQ(MulDiv(0, 3, 0), -1);
}

TEST(Blend, PercentBelowHundredPerMilleFromHundred) {
    const SkinColor c1 = rgb(200, 100, 0), c2 = rgb(0, 50, 255);
    EXPECT_EQ(Blend(c1, c2, 0), c2);
    EXPECT_EQ(Blend(c1, c2, 99), rgb(198, 100, 3));
    EXPECT_EQ(Blend(c1, c2, 100), rgb(20, 55, 230));
    EXPECT_EQ(Blend(c1, c2, 1000), c1);
    EXPECT_EQ(Blend(rgb(0, 0, 0), rgb(255, 255, 255), 150), rgb(217, 217, 217));
}

TEST(SystemColors, LowByteOfANegativeColourIndexesThePalette) {
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(4, 5, 6));
    const auto system = [](int index) { return static_cast<SkinColor>(0x80000000u | index); };
    EXPECT_EQ(ColorToRGB(system(syscolor::ButtonFace), palette), rgb(1, 2, 3));
    EXPECT_EQ(ColorToRGB(system(syscolor::Highlight), palette), rgb(4, 5, 6));
    EXPECT_EQ(ColorToRGB(static_cast<SkinColor>(0xFF00000D), palette), rgb(4, 5, 6));
    EXPECT_EQ(ColorToRGB(system(25), palette), rgb(0, 0, 0));
    EXPECT_EQ(ColorToRGB(system(200), palette), rgb(0, 0, 0));
    EXPECT_EQ(ColorToRGB(rgb(9, 8, 7), palette), rgb(9, 8, 7));
}

TEST(Gradient, TableEntries) {
    GradientCache cache;
    EXPECT_EQ(cache.table(1, rgb(0, 0, 0), rgb(255, 100, 11)),
              std::vector<SkinColor>{rgb(127, 50, 5)});
    // Red falls 200 → 100 over 10 rows and ends one above; green rises to 90.
    const std::vector<SkinColor>& table = cache.table(10, rgb(200, 0, 50), rgb(100, 90, 50));
    ASSERT_EQ(table.size(), 10u);
    EXPECT_EQ(table[0], rgb(200, 0, 50));
    EXPECT_EQ(table[5], rgb(145, 50, 50));
    EXPECT_EQ(table[9], rgb(101, 90, 50));
    EXPECT_TRUE(cache.table(0, rgb(0, 0, 0), rgb(1, 1, 1)).empty());
}

TEST(Gradient, SixteenSlotsUsedInTurn) {
    GradientCache cache;
    const std::vector<SkinColor>* first = &cache.table(10, rgb(200, 0, 0), rgb(100, 0, 0));
    EXPECT_EQ(&cache.table(10, rgb(200, 0, 0), rgb(100, 0, 0)), first);
    EXPECT_EQ(cache.slotOf(10, rgb(200, 0, 0), rgb(100, 0, 0)), 0);
    for (int i = 1; i < GradientCache::SlotCount; ++i) {
        cache.table(i + 20, rgb(0, 0, 0), rgb(255, 255, 255));
        EXPECT_EQ(cache.slotOf(i + 20, rgb(0, 0, 0), rgb(255, 255, 255)), i);
    }
    // All slots taken: the seventeenth table goes into slot 0.
    cache.table(5, rgb(1, 1, 1), rgb(2, 2, 2));
    EXPECT_EQ(cache.slotOf(5, rgb(1, 1, 1), rgb(2, 2, 2)), 0);
    EXPECT_EQ(cache.slotOf(10, rgb(200, 0, 0), rgb(100, 0, 0)), -1);
    EXPECT_EQ(cache.slotOf(21, rgb(0, 0, 0), rgb(255, 255, 255)), 1);
}

TEST(Gradient, FillPaintsRowsOrColumnsInsideTheClip) {
    const QRgb w = qRgb(255, 255, 255);
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(w);
    {
        QPainter painter(&picture);
        // Three rows from black to red 90: 0, (1 + 90) / 2 = 45, 90.
        GradientFill(painter, QRect(1, 0, 2, 3), rgb(0, 0, 0), true, rgb(90, 0, 0));
    }
    const QRgb r0 = qRgb(0, 0, 0), r45 = qRgb(45, 0, 0), r90 = qRgb(90, 0, 0);
    EXPECT_EQ(pixels(picture), rgb24({w, r0, r0, w, w, r45, r45, w, w, r90, r90, w}));

    picture.fill(w);
    {
        QPainter painter(&picture);
        painter.setClipRect(QRect(0, 0, 2, 3));
        GradientFill(painter, QRect(0, 1, 3, 1), rgb(0, 0, 0), false, rgb(90, 0, 0));
        GradientFill(painter, QRect(0, 0, 4, 0), rgb(0, 0, 0), true, rgb(90, 0, 0));
        GradientFill(painter, QRect(2, 0, 2, 3), rgb(0, 0, 0), true, rgb(90, 0, 0));
    }
    EXPECT_EQ(pixels(picture), rgb24({w, w, w, w, r0, r45, w, w, w, w, w, w}));

    // One row: the middle colour, (0 + 90 / 2).
    picture.fill(w);
    {
        QPainter painter(&picture);
        GradientFill(painter, QRect(0, 2, 4, 1), rgb(0, 0, 0), true, rgb(90, 0, 0));
    }
    EXPECT_EQ(pixels(picture), rgb24({w, w, w, w, w, w, w, w, r45, r45, r45, r45}));
}

TEST(Saturation, LevelsAndRounding) {
    EXPECT_EQ(SaturationLevel(rgb(255, 0, 0)), 255);
    EXPECT_EQ(SaturationLevel(rgb(128, 128, 128)), 200);
    EXPECT_EQ(SaturationLevel(rgb(255, 255, 255)), 0);
    EXPECT_EQ(SaturationLevel(rgb(159, 0, 0)), 200);
    EXPECT_EQ(SaturationLevel(rgb(0, 160, 0)), 255);
    // 255 × d ÷ 170 = 1.5 d: halves go to the even neighbour.
    EXPECT_EQ(SaturationLevel(rgb(170, 169, 169)), 2);  // 1.5
    EXPECT_EQ(SaturationLevel(rgb(170, 167, 170)), 4);  // 4.5
    EXPECT_EQ(SaturationLevel(rgb(165, 170, 170)), 8);  // 7.5
    EXPECT_EQ(SaturationLevel(rgb(170, 168, 170)), 3);  // 3
    EXPECT_EQ(SaturationLevel(rgb(200, 100, 50)), 191); // 191.25
}

TEST(Bitmaps, ReplaceTransparentColour) {
    QImage picture =
        image(3, {qRgb(255, 0, 255), qRgb(255, 0, 254), qRgb(255, 0, 255)}, QImage::Format_RGB32);
    ReplaceTransparentColor(picture, rgb(1, 2, 3));
    EXPECT_EQ(picture.format(), QImage::Format_RGB888);
    EXPECT_EQ(pixels(picture), rgb24({qRgb(1, 2, 3), qRgb(255, 0, 254), qRgb(1, 2, 3)}));
}

TEST(Bitmaps, KeyAlphaToMagentaLeavesNoFringe) {
    // Opaque, mostly covered, half covered, a faint edge and nothing at all.
    QImage picture(5, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(232, 74, 60, 255));
    picture.setPixel(1, 0, qRgba(10, 20, 30, 200));
    picture.setPixel(2, 0, qRgba(40, 50, 60, 128));
    picture.setPixel(3, 0, qRgba(70, 80, 90, 127));
    picture.setPixel(4, 0, qRgba(0, 0, 0, 0));
    const QImage keyed = KeyAlphaToMagenta(picture);
    EXPECT_EQ(keyed.format(), QImage::Format_RGB32);
    EXPECT_EQ(pixels(keyed), rgb24({qRgb(232, 74, 60), qRgb(10, 20, 30), qRgb(40, 50, 60),
                                    qRgb(255, 0, 255), qRgb(255, 0, 255)}));
    // A premultiplied picture keeps its true colours (to the rounding of the
    // premultiplication), not colours darkened by the coverage.
    const QImage keyedPremultiplied =
        KeyAlphaToMagenta(picture.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    EXPECT_EQ(keyedPremultiplied.pixel(0, 0), qRgb(232, 74, 60));
    const QRgb partly = keyedPremultiplied.pixel(1, 0);
    EXPECT_NEAR(qRed(partly), 10, 1);
    EXPECT_NEAR(qGreen(partly), 20, 1);
    EXPECT_NEAR(qBlue(partly), 30, 1);
}

TEST(Bitmaps, MirrorAndFlip) {
    for (QImage::Format format : {QImage::Format_RGB888, QImage::Format_RGB32}) {
        QImage picture = image(3, {a, b, c, d, e, f}, format);
        Mirror(picture);
        EXPECT_EQ(pixels(picture), rgb24({c, b, a, f, e, d}));
        EXPECT_EQ(picture.format(), format);
        picture = image(3, {a, b, c, d, e, f}, format);
        Flip(picture);
        EXPECT_EQ(pixels(picture), rgb24({d, e, f, a, b, c}));
        EXPECT_EQ(picture.format(), format);
    }
}

TEST(Bitmaps, QuarterTurns) {
    QImage picture = image(3, {a, b, c, d, e, f});
    RotateLeft(picture);
    EXPECT_EQ(picture.size(), QSize(2, 3));
    EXPECT_EQ(picture.format(), QImage::Format_RGB888);
    EXPECT_EQ(pixels(picture), rgb24({c, f, b, e, a, d}));
    RotateRight(picture);
    EXPECT_EQ(pixels(picture), rgb24({a, b, c, d, e, f}));

    picture = image(3, {a, b, c, d, e, f}, QImage::Format_RGB32);
    RotateRight(picture);
    EXPECT_EQ(pixels(picture), rgb24({d, a, e, b, f, c}));
}
