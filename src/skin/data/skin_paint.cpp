#include "skin/data/skin_paint.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>
#include <vector>

namespace skin {

namespace {

// How many pictures, and how many bytes of them, each cache keeps before it
// starts afresh.
constexpr std::size_t CacheSize = 256;
constexpr qint64 CacheBytes = 16 * 1024 * 1024;

template <typename Map> void makeRoom(Map& cache, qint64& bytes, const QImage& adding) {
    if (cache.size() >= CacheSize || bytes + adding.sizeInBytes() > CacheBytes) {
        cache.clear();
        bytes = 0;
    }
    bytes += adding.sizeInBytes();
}

QRgb toQRgb(SkinColor colour) {
    return qRgb(redOf(colour), greenOf(colour), blueOf(colour));
}

// The bitmap as 32-bit pixels; 32-bit bitmaps are shared, not copied.
QImage rgb32(const QImage& image) {
    if (image.format() == QImage::Format_RGB32)
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage newPicture(QSize size) {
    return QImage(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
}

bool inverted(const QRect& rect) {
    return rect.width() < 0 || rect.height() < 0;
}

// Nearest-neighbour copy of `from` (inside `src`) onto `to` in `dst`, clipped
// to `dst`. Target pixel i samples source pixel (2i + 1) × from ÷ (2 × to).
void stretchCopy(QImage& dst, const QRect& to, const QImage& src, const QRect& from) {
    if (to.isEmpty() || from.isEmpty())
        return;
    const QRect visible = to & dst.rect();
    if (visible.isEmpty())
        return;
    auto sample = [](int i, int fromSize, int toSize) {
        return static_cast<int>((2 * static_cast<qint64>(i) + 1) * fromSize / (2 * toSize));
    };
    const int width = visible.width();
    std::vector<int> columns(width);
    for (int x = 0; x < width; ++x)
        columns[x] = from.x() + sample(visible.x() - to.x() + x, from.width(), to.width());
    const bool sameWidth = from.width() == to.width();

    int previous = -1;
    const QRgb* previousRow = nullptr;
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        const int sy = from.y() + sample(y - to.y(), from.height(), to.height());
        auto* target = reinterpret_cast<QRgb*>(dst.scanLine(y)) + visible.x();
        if (sy == previous) {
            std::memcpy(target, previousRow, width * sizeof(QRgb));
        } else {
            const auto* source = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
            if (sameWidth) {
                std::memcpy(target, source + columns[0], width * sizeof(QRgb));
            } else {
                for (int x = 0; x < width; ++x)
                    target[x] = source[columns[x]];
            }
        }
        previous = sy;
        previousRow = target;
    }
}

// Repeats `from` (inside `src`) over `to` in `dst` from `to`'s top-left
// corner, clipped to `to` and `dst`.
void tileCopy(QImage& dst, const QRect& to, const QImage& src, const QRect& from) {
    if (to.isEmpty() || from.isEmpty())
        return;
    const QRect visible = to & dst.rect();
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        const int sy = from.y() + (y - to.y()) % from.height();
        const auto* source = reinterpret_cast<const QRgb*>(src.constScanLine(sy)) + from.x();
        auto* target = reinterpret_cast<QRgb*>(dst.scanLine(y));
        int x = visible.left();
        while (x <= visible.right()) {
            const int offset = (x - to.x()) % from.width();
            const int run = std::min(from.width() - offset, visible.right() + 1 - x);
            std::memcpy(target + x, source + offset, run * sizeof(QRgb));
            x += run;
        }
    }
}

// Margins that fit inside the frame: none negative, the pairs no wider than it.
Margins fitToFrame(Margins m, const QRect& frame) {
    m.left = std::clamp(m.left, 0, frame.width());
    m.right = std::clamp(m.right, 0, frame.width() - m.left);
    m.top = std::clamp(m.top, 0, frame.height());
    m.bottom = std::clamp(m.bottom, 0, frame.height() - m.top);
    return m;
}

// The frame at its own size, as a 32-bit picture.
QImage framePicture(const QImage& image, bool vertical, int frameCount, int frame) {
    const QRect rect = FrameRect(image, vertical, frameCount, frame);
    return rect.isEmpty() ? QImage() : rgb32(image).copy(rect);
}

// The frame stretched whole to `size`.
QImage scaledFrame(QSize size, const QImage& image, bool vertical, int frameCount, int frame) {
    QImage out = newPicture(size);
    stretchCopy(out, out.rect(), rgb32(image), FrameRect(image, vertical, frameCount, frame));
    return out;
}

// The device pixels a logical rectangle covers: its edges rounded to whole
// device pixels, so that pictures side by side meet without a seam.
QRect deviceRect(const QTransform& toDevice, const QRect& rect) {
    const QPointF a = toDevice.map(QPointF(rect.left(), rect.top()));
    const QPointF b = toDevice.map(QPointF(rect.left() + rect.width(), rect.top() + rect.height()));
    return QRect(QPoint(qRound(a.x()), qRound(a.y())),
                 QPoint(qRound(b.x()) - 1, qRound(b.y()) - 1));
}

// A logical picture on a device with more pixels than logical ones: the
// picture is stretched nearest-neighbour to the device pixels it covers and
// copied there one to one, so no skin pixel is ever blended with another.
// False when the painter turns or shears (the caller draws it as usual).
bool drawOnDevicePixels(QPainter& painter, const QRect& rect, const QImage& picture,
                        bool transparent) {
    if (painter.worldTransform().type() > QTransform::TxScale || !painter.device())
        return false;
    // The painter's own offset on the device (a widget's place in its window)
    // is added again below, so only the world transform and the ratio count.
    const qreal ratio = painter.device()->devicePixelRatioF();
    const QTransform toDevice = painter.worldTransform() * QTransform::fromScale(ratio, ratio);
    const QRect from(0, 0, std::min(rect.width(), picture.width()),
                     std::min(rect.height(), picture.height()));
    const QRect part = deviceRect(toDevice, QRect(rect.topLeft(), from.size()));
    if (part.isEmpty() || from.isEmpty())
        return true;
    // The same picture at the same size is scaled once (the frames of a
    // repaint come from the stretch cache with the same keys).
    static std::map<std::tuple<qint64, int, int, int, int, bool>, QImage> scaled;
    const auto key = std::make_tuple(picture.cacheKey(), from.width(), from.height(), part.width(),
                                     part.height(), transparent);
    auto found = scaled.find(key);
    if (found == scaled.end()) {
        QImage made(part.size(), QImage::Format_ARGB32_Premultiplied);
        stretchCopy(made, made.rect(), rgb32(picture), from);
        const QRgb magenta = toQRgb(Magenta) & 0xFFFFFF;
        for (int y = 0; y < made.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(made.scanLine(y));
            for (int x = 0; x < made.width(); ++x)
                row[x] = transparent && (row[x] & 0xFFFFFF) == magenta ? 0 : (row[x] | 0xFF000000);
        }
        static qint64 bytes = 0;
        makeRoom(scaled, bytes, made);
        found = scaled.emplace(key, made).first;
    }
    const QImage& out = found->second;
    painter.save();
    // Device pixels from here: the world transform undoes the device's ratio.
    painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(part.topLeft(), out);
    painter.restore();
    return true;
}

void drawPicture(QPainter& painter, const QRect& rect, const QImage& picture, bool transparent) {
    if (painter.device() && painter.device()->devicePixelRatioF() != 1.0 &&
        drawOnDevicePixels(painter, rect, picture, transparent))
        return;
    if (transparent)
        DrawMasked(painter, rect, picture);
    else
        painter.drawImage(rect.topLeft(), picture, QRect(QPoint(0, 0), rect.size()));
}

} // namespace

QRect FrameRect(const QImage& image, bool vertical, int frameCount, int frame) {
    if (image.isNull())
        return {};
    const int count = std::max(frameCount, 1);
    const int index = std::clamp(frame, 1, count) - 1;
    if (vertical) {
        const int height = image.height() / count;
        return QRect(0, index * height, image.width(), height);
    }
    const int width = image.width() / count;
    return QRect(index * width, 0, width, image.height());
}

QImage StretchFrame(QSize size, const QImage& image, const Margins& margins, bool vertical,
                    bool tile, int frameCount, int frame) {
    QImage out = newPicture(size);
    const QRect f = FrameRect(image, vertical, frameCount, frame);
    if (out.isNull())
        return out;
    if (f.isEmpty()) {
        out.fill(Qt::black);
        return out;
    }
    const QImage src = rgb32(image);
    Margins m = fitToFrame(margins, f);
    const int w = size.width(), h = size.height();
    if (w < m.left + m.right)
        m.left = m.right = 0;
    if (h < m.top + m.bottom)
        m.top = m.bottom = 0;
    const int sw = f.width() - m.left - m.right; // the source centre
    const int sh = f.height() - m.top - m.bottom;
    const int cw = w - m.left - m.right; // the target centre
    const int ch = h - m.top - m.bottom;
    if (sw <= 0 || sh <= 0)
        out.fill(Qt::black); // an empty source centre or edge draws nothing

    const int fr = f.x() + f.width() - m.right;   // source right edge column
    const int fb = f.y() + f.height() - m.bottom; // source bottom edge row
    const int fx = f.x() + m.left, fy = f.y() + m.top;
    const int right = w - m.right, bottom = h - m.bottom;

    stretchCopy(out, QRect(0, 0, m.left, m.top), src, QRect(f.x(), f.y(), m.left, m.top));
    stretchCopy(out, QRect(0, bottom, m.left, m.bottom), src, QRect(f.x(), fb, m.left, m.bottom));
    stretchCopy(out, QRect(right, 0, m.right, m.top), src, QRect(fr, f.y(), m.right, m.top));
    stretchCopy(out, QRect(0, m.top, m.left, ch), src, QRect(f.x(), fy, m.left, sh));
    stretchCopy(out, QRect(m.left, 0, cw, m.top), src, QRect(fx, f.y(), sw, m.top));
    if (tile)
        tileCopy(out, QRect(m.left, m.top, cw, ch), src, QRect(fx, fy, sw, sh));
    else
        stretchCopy(out, QRect(m.left, m.top, cw, ch), src, QRect(fx, fy, sw, sh));
    stretchCopy(out, QRect(right, bottom, m.right, m.bottom), src,
                QRect(fr, fb, m.right, m.bottom));
    stretchCopy(out, QRect(right, m.top, m.right, ch), src, QRect(fr, fy, m.right, sh));
    stretchCopy(out, QRect(m.left, bottom, cw, m.bottom), src, QRect(fx, fb, sw, m.bottom));
    return out;
}

void DrawFrame(QPainter& painter, const QRect& rect, const QImage& image, bool vertical, bool tile,
               bool transparent, int frameCount, int frame, const Margins& margins) {
    if (inverted(rect) || image.isNull())
        return;
    // Stretched frames are kept by picture, frame and size: a repaint draws
    // the same ones again.
    using Key = std::tuple<qint64, int, int, int, int, int, int, bool, bool, int, int>;
    static std::map<Key, QImage> stretched;
    const Key key{
        image.cacheKey(), rect.width(), rect.height(), margins.left, margins.top, margins.right,
        margins.bottom,   vertical,     tile,          frameCount,   frame};
    auto found = stretched.find(key);
    if (found == stretched.end()) {
        QImage made = StretchFrame(rect.size(), image, margins, vertical, tile, frameCount, frame);
        static qint64 bytes = 0;
        makeRoom(stretched, bytes, made);
        found = stretched.emplace(key, made).first;
    }
    drawPicture(painter, rect, found->second, transparent);
}

void DrawElementFrame(QPainter& painter, const QRect& rect, int frameCount, int frame,
                      const TDataSkinObject& element) {
    DrawFrame(painter, rect, element.Image, false, element.Tile != 0, element.Trans == 1,
              frameCount, frame, element.margins());
}

void DrawStripFrame(QPainter& painter, const QRect& rect, int frameCount, int frame,
                    const QImage& image) {
    DrawFrameScaled(painter, rect, image, true, frameCount, frame);
}

void DrawHorzBar(QPainter& painter, const QRect& rect, const QImage& image, bool vertical,
                 bool transparent, int frameCount, int frame, const Margins& margins) {
    const QRect f = FrameRect(image, vertical, frameCount, frame);
    if (inverted(rect) || f.isEmpty())
        return;
    const QImage src = rgb32(image);
    const Margins m = fitToFrame(margins, f);
    const int w = rect.width(), h = rect.height();
    QImage bar = newPicture(rect.size());
    bar.fill(Qt::black);
    stretchCopy(bar, QRect(0, 0, m.left, h), src, QRect(f.x(), f.y(), m.left, f.height()));
    const int middle = f.width() - m.left - m.right;
    if (middle >= 1) {
        const QRect source(f.x() + m.left, f.y(), middle, f.height());
        for (int x = m.left; x < w - m.right; x += middle)
            stretchCopy(bar, QRect(x, 0, middle, h), src, source);
    }
    stretchCopy(bar, QRect(w - m.right, 0, m.right, h), src,
                QRect(f.x() + f.width() - m.right, f.y(), m.right, f.height()));
    drawPicture(painter, rect, bar, transparent);
}

void DrawFrameScaled(QPainter& painter, const QRect& rect, const QImage& image, bool transparent,
                     int frameCount, int frame) {
    if (inverted(rect) || image.isNull())
        return;
    drawPicture(painter, rect, scaledFrame(rect.size(), image, false, frameCount, frame),
                transparent);
}

void DrawFrameCentered(QPainter& painter, const QRect& rect, const QImage& image, bool transparent,
                       int frameCount, int frame) {
    const QImage picture = framePicture(image, false, frameCount, frame);
    if (inverted(rect) || picture.isNull())
        return;
    const QPoint at(rect.left() + (rect.width() - picture.width()) / 2,
                    rect.top() + (rect.height() - image.height()) / 2);
    drawPicture(painter, QRect(at, picture.size()), picture, transparent);
}

void DrawFrameThreePart(QPainter& painter, const QRect& rect, const QImage& image, bool vertical,
                        int frameCount, int frame, const Margins& margins) {
    const QRect f = FrameRect(image, vertical, frameCount, frame);
    if (inverted(rect) || f.isEmpty())
        return;
    if (f.width() > rect.width()) {
        drawPicture(painter, rect, scaledFrame(rect.size(), image, vertical, frameCount, frame),
                    false);
        return;
    }
    const QImage src = rgb32(image);
    const Margins m = fitToFrame(margins, f);
    const int w = rect.width(), h = rect.height();
    QImage out = newPicture(rect.size());
    stretchCopy(out, QRect(0, 0, m.left, h), src, QRect(f.x(), f.y(), m.left, f.height()));
    stretchCopy(out, QRect(m.left, 0, w - m.left - m.right, h), src,
                QRect(f.x() + m.left, f.y(), f.width() - m.left - m.right, f.height()));
    stretchCopy(out, QRect(w - m.right, 0, m.right, h), src,
                QRect(f.x() + f.width() - m.right, f.y(), m.right, f.height()));
    drawPicture(painter, rect, out, false);
}

void TileImage(QPainter& painter, const QRect& target, const QImage& image, const QRect& source) {
    const QRect from = source & image.rect();
    if (from.isEmpty() || target.isEmpty())
        return;
    QImage out = newPicture(target.size());
    tileCopy(out, out.rect(), rgb32(image), from);
    drawPicture(painter, target, out, false);
}

void DrawMasked(QPainter& painter, const QRect& rect, const QImage& bitmap, SkinColor key) {
    if (inverted(rect) || bitmap.isNull())
        return;
    const int w = std::min(rect.width(), bitmap.width());
    const int h = std::min(rect.height(), bitmap.height());
    if (w <= 0 || h <= 0)
        return;
    const QImage src = rgb32(bitmap);
    const QRgb keyPixel = toQRgb(key) & 0xFFFFFF;

    // Straight into a 32-bit picture when nothing but an offset lies between
    // and a logical pixel is a device pixel.
    auto* device = dynamic_cast<QImage*>(painter.device());
    if (device && device->depth() == 32 && !device->hasAlphaChannel() &&
        device->devicePixelRatio() == 1.0 &&
        painter.transform().type() <= QTransform::TxTranslate && !painter.hasClipping() &&
        painter.compositionMode() == QPainter::CompositionMode_SourceOver) {
        const QPoint at = rect.topLeft() + QPoint(qRound(painter.transform().dx()),
                                                  qRound(painter.transform().dy()));
        const QRect visible = QRect(at, QSize(w, h)) & device->rect();
        for (int y = visible.top(); y <= visible.bottom(); ++y) {
            const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(y - at.y())) +
                            (visible.x() - at.x());
            auto* d = reinterpret_cast<QRgb*>(device->scanLine(y)) + visible.x();
            for (int x = 0; x < visible.width(); ++x) {
                if ((s[x] & 0xFFFFFF) != keyPixel)
                    d[x] = s[x] | 0xFF000000;
            }
        }
        return;
    }

    QImage masked(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* d = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < w; ++x)
            d[x] = (s[x] & 0xFFFFFF) == keyPixel ? 0 : (s[x] | 0xFF000000);
    }
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(rect.topLeft(), masked);
    painter.restore();
}

QRegion RegionFromBitmap(const QImage& bitmap, int xOffset, int yOffset, int blueRange,
                         int greenRange, int redRange, SkinColor base) {
    QRegion region;
    if (bitmap.isNull())
        return region;
    const QImage src = rgb32(bitmap);
    struct Range {
        int low, high;
        bool holds(int value) const { return value >= low && value <= high; }
    };
    const Range red{redOf(base), std::min(redOf(base) + redRange, 255)};
    const Range green{greenOf(base), std::min(greenOf(base) + greenRange, 255)};
    const Range blue{blueOf(base), std::min(blueOf(base) + blueRange, 255)};
    auto transparent = [&](QRgb p) {
        return red.holds(qRed(p)) && green.holds(qGreen(p)) && blue.holds(qBlue(p));
    };

    constexpr int BatchSize = 2000;
    std::vector<QRect> batch;
    batch.reserve(BatchSize);
    auto flush = [&] {
        QRegion part;
        part.setRects(batch.data(), static_cast<int>(batch.size()));
        region += part;
        batch.clear();
    };
    for (int y = 0; y < src.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        int x = 0;
        while (x < src.width()) {
            while (x < src.width() && transparent(row[x]))
                ++x;
            const int start = x;
            while (x < src.width() && !transparent(row[x]))
                ++x;
            if (x > start) {
                batch.emplace_back(start + xOffset, y + yOffset, x - start, 1);
                if (batch.size() == BatchSize)
                    flush();
            }
        }
    }
    if (!batch.empty())
        flush();
    return region;
}

void PaintParentBackground(QWidget* control, QPainter& painter) {
    QWidget* parent = control ? control->parentWidget() : nullptr;
    if (!parent)
        return;
    const QRect area = control->geometry();
    painter.save();
    painter.setClipRect(QRect(QPoint(0, 0), area.size()), Qt::IntersectClip);
    parent->render(&painter, QPoint(0, 0), QRegion(area), QWidget::DrawWindowBackground);
    painter.restore();
}

} // namespace skin
