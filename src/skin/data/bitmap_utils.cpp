#include "skin/data/bitmap_utils.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cstdlib>

namespace skin {

namespace {

struct PaletteEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Where each system colour index finds its colour in a palette.
constexpr PaletteEntry systemColors[] = {
    {QPalette::Active, QPalette::Button},          // ScrollBar
    {QPalette::Active, QPalette::Dark},            // Background
    {QPalette::Active, QPalette::Highlight},       // ActiveCaption
    {QPalette::Inactive, QPalette::Mid},           // InactiveCaption
    {QPalette::Active, QPalette::Window},          // Menu
    {QPalette::Active, QPalette::Base},            // Window
    {QPalette::Active, QPalette::Shadow},          // WindowFrame
    {QPalette::Active, QPalette::WindowText},      // MenuText
    {QPalette::Active, QPalette::Text},            // WindowText
    {QPalette::Active, QPalette::HighlightedText}, // CaptionText
    {QPalette::Active, QPalette::Window},          // ActiveBorder
    {QPalette::Inactive, QPalette::Window},        // InactiveBorder
    {QPalette::Active, QPalette::Dark},            // AppWorkspace
    {QPalette::Active, QPalette::Highlight},       // Highlight
    {QPalette::Active, QPalette::HighlightedText}, // HighlightText
    {QPalette::Active, QPalette::Button},          // ButtonFace
    {QPalette::Active, QPalette::Dark},            // ButtonShadow
    {QPalette::Disabled, QPalette::Text},          // GrayText
    {QPalette::Active, QPalette::ButtonText},      // ButtonText
    {QPalette::Inactive, QPalette::WindowText},    // InactiveCaptionText
    {QPalette::Active, QPalette::Light},           // ButtonHighlight
    {QPalette::Active, QPalette::Shadow},          // DarkShadow3D
    {QPalette::Active, QPalette::Midlight},        // Light3D
    {QPalette::Active, QPalette::ToolTipText},     // InfoText
    {QPalette::Active, QPalette::ToolTipBase},     // InfoBackground
    {QPalette::Active, QPalette::NoRole},          // 25 has no colour
    {QPalette::Active, QPalette::Link},            // HotLight
    {QPalette::Active, QPalette::Highlight},       // GradientActiveCaption
    {QPalette::Inactive, QPalette::Mid},           // GradientInactiveCaption
    {QPalette::Active, QPalette::Highlight},       // MenuHighlight
    {QPalette::Active, QPalette::Window},          // MenuBar
};

int clampChannel(int value) {
    return std::clamp(value, 0, 255);
}

// A quarter turn: `place` gives the target (column, row) of source pixel (x, y)
// in a picture of the turned size.
template <typename Place> void rotate(QImage& image, Place place) {
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    QImage turned(source.height(), source.width(), QImage::Format_RGB888);
    for (int y = 0; y < source.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const auto [tx, ty] = place(x, y, source.width(), source.height());
            uchar* target = turned.scanLine(ty) + 3 * tx;
            target[0] = static_cast<uchar>(qRed(row[x]));
            target[1] = static_cast<uchar>(qGreen(row[x]));
            target[2] = static_cast<uchar>(qBlue(row[x]));
        }
    }
    image = turned;
}

} // namespace

SkinColor ColorToRGB(SkinColor color, const QPalette& palette) {
    if (color >= 0)
        return color;
    const int index = color & 0xFF;
    if (index >= static_cast<int>(std::size(systemColors)) ||
        systemColors[index].role == QPalette::NoRole)
        return rgb(0, 0, 0);
    const QColor c = palette.color(systemColors[index].group, systemColors[index].role);
    return rgb(c.red(), c.green(), c.blue());
}

SkinColor ColorToRGB(SkinColor color) {
    return color >= 0 ? color : ColorToRGB(color, QGuiApplication::palette());
}

QColor SkinQColor(SkinColor colour) {
    const SkinColor plain = ColorToRGB(colour);
    return QColor(redOf(plain), greenOf(plain), blueOf(plain));
}

qint32 MulDiv(qint32 number, qint32 numerator, qint32 denominator) {
    if (denominator == 0)
        return -1;
    // Two 32-bit factors never overflow 64 bits, nor does their magnitude.
    const qint64 product = static_cast<qint64>(number) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const qint64 top = std::llabs(product);
    const qint64 bottom = std::llabs(static_cast<qint64>(denominator));
    const qint64 quotient = (top + bottom / 2) / bottom;
    if (quotient > (negative ? 0x80000000LL : 0x7FFFFFFFLL))
        return -1;
    return static_cast<qint32>(negative ? -quotient : quotient);
}

SkinColor Blend(SkinColor c1, SkinColor c2, int weight) {
    c1 = ColorToRGB(c1);
    c2 = ColorToRGB(c2);
    const int base = weight < 100 ? 100 : 1000;
    auto mix = [&](int channel1, int channel2) {
        return clampChannel((channel2 * (base - weight) + channel1 * weight + base / 2) / base);
    };
    return rgb(mix(redOf(c1), redOf(c2)), mix(greenOf(c1), greenOf(c2)),
               mix(blueOf(c1), blueOf(c2)));
}

const std::vector<SkinColor>& GradientCache::table(int count, SkinColor c1, SkinColor c2) {
    static const std::vector<SkinColor> none;
    if (count < 1)
        return none;
    c1 = ColorToRGB(c1);
    c2 = ColorToRGB(c2);
    if (const int slot = slotOf(count, c1, c2); slot >= 0)
        return mSlots[slot].colors;

    Slot& slot = mSlots[mNext];
    mNext = (mNext + 1) % SlotCount;
    slot = {true, count, c1, c2, {}};
    slot.colors.reserve(count);
    const int c = count - 1;
    auto channel = [&](int from, int to, int i) {
        const int d = to - from;
        return c == 0 ? from + d / 2 : from + (c / 2 + i * d) / c;
    };
    for (int i = 0; i < count; ++i) {
        slot.colors.push_back(rgb(channel(redOf(c1), redOf(c2), i),
                                  channel(greenOf(c1), greenOf(c2), i),
                                  channel(blueOf(c1), blueOf(c2), i)));
    }
    return slot.colors;
}

int GradientCache::slotOf(int count, SkinColor c1, SkinColor c2) const {
    c1 = ColorToRGB(c1);
    c2 = ColorToRGB(c2);
    for (int i = SlotCount - 1; i >= 0; --i) {
        const Slot& slot = mSlots[i];
        if (slot.used && slot.count == count && slot.first == c1 && slot.last == c2)
            return i;
    }
    return -1;
}

GradientCache& gradientCache() {
    static GradientCache cache;
    return cache;
}

void GradientFill(QPainter& painter, const QRect& rect, SkinColor c1, bool vertical, SkinColor c2) {
    if (!painter.isActive())
        return;
    const QRect deviceRect(0, 0, painter.device()->width(), painter.device()->height());
    QRect clip = painter.worldTransform().inverted().mapRect(deviceRect);
    if (painter.hasClipping())
        clip &= painter.clipBoundingRect().toAlignedRect();
    const int count = vertical ? rect.height() : rect.width();
    if (count <= 0 || !rect.intersects(clip))
        return;

    const std::vector<SkinColor>& colors = gradientCache().table(count, c1, c2);
    for (int i = 0; i < count; ++i) {
        const QRect line = vertical ? QRect(rect.left(), rect.top() + i, rect.width(), 1)
                                    : QRect(rect.left() + i, rect.top(), 1, rect.height());
        if (!line.intersects(clip))
            continue;
        const SkinColor color = colors[i];
        painter.fillRect(line, QColor(redOf(color), greenOf(color), blueOf(color)));
    }
}

int SaturationLevel(SkinColor color) {
    color = ColorToRGB(color);
    const int r = redOf(color), g = greenOf(color), b = blueOf(color);
    const int high = std::max({r, g, b});
    const int low = std::min({r, g, b});
    if (high < 160)
        return 200;
    // high is at least 160 here, so the division is safe.
    const int numerator = 255 * (high - low);
    const int quotient = numerator / high;
    const int twice = 2 * (numerator % high);
    if (twice > high || (twice == high && quotient % 2 == 1))
        return quotient + 1;
    return quotient;
}

void ReplaceTransparentColor(QImage& image, SkinColor color) {
    color = ColorToRGB(color);
    image = image.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y) {
        uchar* pixel = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, pixel += 3) {
            if (pixel[0] == 255 && pixel[1] == 0 && pixel[2] == 255) {
                pixel[0] = static_cast<uchar>(redOf(color));
                pixel[1] = static_cast<uchar>(greenOf(color));
                pixel[2] = static_cast<uchar>(blueOf(color));
            }
        }
    }
}

QImage KeyAlphaToMagenta(const QImage& picture) {
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    QImage keyed(source.size(), QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            out[x] = qAlpha(in[x]) >= 128 ? (in[x] | 0xFF000000u) : qRgb(255, 0, 255);
    }
    keyed.setDevicePixelRatio(picture.devicePixelRatio());
    return keyed;
}

void Mirror(QImage& image) {
    image.mirror(true, false);
}

void Flip(QImage& image) {
    image.mirror(false, true);
}

void RotateLeft(QImage& image) {
    rotate(image, [](int x, int y, int width, int) { return std::pair(y, width - 1 - x); });
}

void RotateRight(QImage& image) {
    rotate(image, [](int x, int y, int, int height) { return std::pair(height - 1 - y, x); });
}

} // namespace skin
