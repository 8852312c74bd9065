#pragma once

#include <QColor>
#include <QtGlobal>

#include <array>
#include <vector>

class QImage;
class QPainter;
class QPalette;
class QRect;

namespace skin {

// A colour as the skin stores it: red in the low byte, then green, then blue.
// A negative value is a system colour whose index is the low byte.
using SkinColor = qint32;

constexpr SkinColor rgb(int red, int green, int blue) {
    return static_cast<SkinColor>(red | (green << 8) | (blue << 16));
}
constexpr int redOf(SkinColor color) {
    return color & 0xFF;
}
constexpr int greenOf(SkinColor color) {
    return (color >> 8) & 0xFF;
}
constexpr int blueOf(SkinColor color) {
    return (color >> 16) & 0xFF;
}

// The system colour indices the skin may name, in their fixed numbering.
namespace syscolor {
constexpr int ScrollBar = 0, Background = 1, ActiveCaption = 2, InactiveCaption = 3, Menu = 4,
              Window = 5, WindowFrame = 6, MenuText = 7, WindowText = 8, CaptionText = 9,
              ActiveBorder = 10, InactiveBorder = 11, AppWorkspace = 12, Highlight = 13,
              HighlightText = 14, ButtonFace = 15, ButtonShadow = 16, GrayText = 17,
              ButtonText = 18, InactiveCaptionText = 19, ButtonHighlight = 20, DarkShadow3D = 21,
              Light3D = 22, InfoText = 23, InfoBackground = 24, HotLight = 26,
              GradientActiveCaption = 27, GradientInactiveCaption = 28, MenuHighlight = 29,
              MenuBar = 30;
} // namespace syscolor

// A system colour (negative) becomes the palette's colour for its index; a
// plain colour comes back unchanged. Unknown indices give black.
SkinColor ColorToRGB(SkinColor color, const QPalette& palette);
// The same with the application's palette.
SkinColor ColorToRGB(SkinColor color);

// A skin colour as a QColor, system colours resolved.
QColor SkinQColor(SkinColor colour);

// number × numerator ÷ denominator with a 64-bit intermediate, rounded to the
// nearest integer (halves away from zero); -1 for a zero denominator or a
// result outside 32 bits. The geometry of the skin relies on this arithmetic.
qint32 MulDiv(qint32 number, qint32 numerator, qint32 denominator);

// Mixes two colours channel by channel. Below 100 the weight is the percentage
// of c1, from 100 on it is the per mille of c1.
SkinColor Blend(SkinColor c1, SkinColor c2, int weight);

// The colour tables of gradients, kept in 16 slots used in turn.
class GradientCache {
public:
    static constexpr int SlotCount = 16;

    // The table of `count` colours running from c1 to c2 (system colours
    // resolved), from the cache or made into the next slot. A table of one
    // colour holds the middle colour. Empty when count is below 1.
    const std::vector<SkinColor>& table(int count, SkinColor c1, SkinColor c2);

    // The slot that holds the table for these values, or -1.
    int slotOf(int count, SkinColor c1, SkinColor c2) const;

private:
    struct Slot {
        bool used = false;
        int count = 0;
        SkinColor first = 0;
        SkinColor last = 0;
        std::vector<SkinColor> colors;
    };
    std::array<Slot, SlotCount> mSlots;
    int mNext = 0;
};

// The cache that GradientFill uses.
GradientCache& gradientCache();

// Fills the rectangle with a gradient from c1 to c2 in one-pixel rows from the
// top (vertical) or columns from the left, skipping those outside the clip.
void GradientFill(QPainter& painter, const QRect& rect, SkinColor c1, bool vertical, SkinColor c2);

// 255 × (max − min) ÷ max of the channels, rounded half to even, when some
// channel is 160 or more; otherwise 200.
int SaturationLevel(SkinColor color);

// Converts the image to 24-bit and paints every magenta pixel in `color`.
void ReplaceTransparentColor(QImage& image, SkinColor color);

// A picture with an alpha channel as the skin keys pictures: each pixel at
// least half covered keeps its colour, fully opaque; every other pixel is
// magenta. Blending a soft edge into magenta instead would leave a pink fringe
// that the key cannot take away. The result is 32-bit without alpha.
QImage KeyAlphaToMagenta(const QImage& picture);

// Reverses every row / reverses the order of the rows; the format stays.
void Mirror(QImage& image);
void Flip(QImage& image);

// A quarter turn counter-clockwise / clockwise; the result is 24-bit.
void RotateLeft(QImage& image);
void RotateRight(QImage& image);

} // namespace skin
