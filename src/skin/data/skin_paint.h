#pragma once

#include "skin/data/skin_elements.h"

#include <QImage>
#include <QRect>
#include <QRegion>

class QPainter;
class QWidget;

// Painting of skin frames. A bitmap holds equal frames, numbered from 1, side
// by side (a horizontal strip) or one under the other (a vertical stack).
// Stretching repeats or drops whole rows and columns, never blends. Frame
// numbers outside 1..count take the nearest frame, so nothing is ever read
// outside the bitmap. Rectangles are x, y, width, height; a negative width or
// height is an inverted rectangle, which draws nothing.
namespace skin {

// Magenta, the transparent colour of every skin bitmap.
constexpr SkinColor Magenta = rgb(255, 0, 255);

// The rectangle of frame `frame` in the bitmap (empty for an empty bitmap).
QRect FrameRect(const QImage& image, bool vertical, int frameCount, int frame);

// A 32-bit picture of the given size made from one frame: the four corners
// copied as they are, the edges stretched along their length, the centre
// stretched or, with `tile`, repeated from its top-left corner. Margins that do
// not fit the size are dropped pairwise (left with right, top with bottom).
QImage StretchFrame(QSize size, const QImage& image, const Margins& margins, bool vertical,
                    bool tile, int frameCount, int frame);

// StretchFrame to the rectangle, copied there (leaving the destination under
// magenta pixels when transparent).
void DrawFrame(QPainter& painter, const QRect& rect, const QImage& image, bool vertical, bool tile,
               bool transparent, int frameCount, int frame, const Margins& margins);

// DrawFrame of an element's horizontal strip with its margins; the centre is
// tiled when its Tile is not 0, and magenta is transparent only when Trans is 1.
void DrawElementFrame(QPainter& painter, const QRect& rect, int frameCount, int frame,
                      const TDataSkinObject& element);

// A frame of a horizontal strip stretched whole to the rectangle, magenta left out.
void DrawStripFrame(QPainter& painter, const QRect& rect, int frameCount, int frame,
                    const QImage& image);

// A bar: the frame's left and right ends at their own width, the middle
// repeated between them, every part stretched to the rectangle's height.
void DrawHorzBar(QPainter& painter, const QRect& rect, const QImage& image, bool vertical,
                 bool transparent, int frameCount, int frame, const Margins& margins);

// A frame of a horizontal strip stretched whole to the rectangle.
void DrawFrameScaled(QPainter& painter, const QRect& rect, const QImage& image, bool transparent,
                     int frameCount, int frame);

// A frame of a horizontal strip at its own size, centred in the rectangle.
void DrawFrameCentered(QPainter& painter, const QRect& rect, const QImage& image, bool transparent,
                       int frameCount, int frame);

// The frame's ends at their own width and its middle stretched between them,
// all to the rectangle's height; a rectangle narrower than the frame gets the
// whole frame stretched. Always opaque.
void DrawFrameThreePart(QPainter& painter, const QRect& rect, const QImage& image, bool vertical,
                        int frameCount, int frame, const Margins& margins);

// Repeats the source rectangle of the image over the target, row by row from
// its top-left corner; nothing is drawn outside the target.
void TileImage(QPainter& painter, const QRect& target, const QImage& image, const QRect& source);

// Copies the bitmap 1:1 to the rectangle's top-left corner, clipped to the
// rectangle's size, leaving the destination wherever the bitmap has `key`.
void DrawMasked(QPainter& painter, const QRect& rect, const QImage& bitmap,
                SkinColor key = Magenta);

// The region of the pixels that are not transparent, moved by the offsets. A
// pixel is transparent when each channel lies between the base colour's
// channel and that plus its range (at most 255). One rectangle per run of
// opaque pixels in a row.
QRegion RegionFromBitmap(const QImage& bitmap, int xOffset, int yOffset, int blueRange,
                         int greenRange, int redRange, SkinColor base);

// Paints what the control's parent shows behind the control (its background
// and its own drawing, not its other children) into the painter, lined up with
// the control's top-left corner. Nothing when the control has no parent.
void PaintParentBackground(QWidget* control, QPainter& painter);

} // namespace skin
