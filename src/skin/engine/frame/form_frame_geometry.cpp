#include "skin/engine/frame/form_frame_geometry.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"

#include <algorithm>
#include <cmath>

namespace skin {

namespace {

// The sizing corners reach this far along each edge.
constexpr int CornerGrip = 16;
// The top rows that keep the window's own hit-test answer (its sizing edge).
constexpr int TopEdgeRows = 4;

int frameCountOf(const TDataSkinBorder& border) {
    return std::max(border.FrameCount, 1);
}

bool sideBorder(int side) {
    return side == TSkinData::Left || side == TSkinData::Right;
}

} // namespace

FrameSizes FrameGeometry(const TSkinData& data, int borderStyle, int menuBarHeight) {
    FrameSizes sizes;
    if (!data.skinLoaded() || borderStyle == BorderNone)
        return sizes;
    const TDataSkinBorder& left = *data.border(TSkinData::Left);
    const TDataSkinBorder& right = *data.border(TSkinData::Right);
    const TDataSkinBorder& top = *data.border(TSkinData::Top);
    const TDataSkinBorder& bottom = *data.border(TSkinData::Bottom);
    sizes.left = left.Image.width() / frameCountOf(left);
    sizes.right = right.Image.width() / frameCountOf(right);
    sizes.top = top.Image.height() / frameCountOf(top);
    sizes.bottom = bottom.Image.height() / frameCountOf(bottom);
    sizes.menuBar = std::max(menuBarHeight, 0);
    return sizes;
}

QSize FramedSize(QSize client, const FrameSizes& frame) {
    const QMargins m = frame.margins();
    return client.grownBy(m);
}

QRect ClientRect(QSize window, const FrameSizes& frame) {
    return QRect(QPoint(0, 0), window).marginsRemoved(frame.margins());
}

QRect CaptionRect(QSize window, const FrameSizes& frame, bool minimized) {
    if (minimized)
        return QRect(0, 0, window.width(), frame.top);
    return QRect(frame.left, 0, window.width() - frame.left - frame.right, frame.top);
}

QRect MenuBandRect(QSize window, const FrameSizes& frame) {
    return QRect(frame.left, frame.top, window.width() - frame.left - frame.right, frame.menuBar);
}

QRect BorderRect(int side, QSize window, const FrameSizes& frame) {
    const int w = window.width(), h = window.height();
    switch (side) {
    case TSkinData::Left:
        return QRect(0, 0, frame.left, h);
    case TSkinData::Right:
        return QRect(w - frame.right, 0, frame.right, h);
    case TSkinData::Top:
        return CaptionRect(window, frame, false);
    default:
        return QRect(frame.left, h - frame.bottom, w - frame.left - frame.right, frame.bottom);
    }
}

int BorderFrame(const TDataSkinBorder& border, bool active) {
    return active || border.FrameCount <= 1 ? 1 : 2;
}

int DefaultHitTest(QPoint point, QSize window, const FrameSizes& frame, int borderStyle,
                   int windowState) {
    if (ClientRect(window, frame).contains(point))
        return ht::Client;
    if (!QRect(QPoint(0, 0), window).contains(point))
        return ht::Nowhere;
    const int x = point.x(), y = point.y(), w = window.width(), h = window.height();
    const bool left = x < frame.left, right = x >= w - frame.right;
    const bool top = y < TopEdgeRows, bottom = y >= h - frame.bottom;
    if (borderStyle != BorderSizeable || windowState != WindowNormal)
        return left || right || top || bottom ? ht::Border : ht::Nowhere;
    const bool nearLeft = x < CornerGrip, nearRight = x >= w - CornerGrip;
    const bool nearTop = y < CornerGrip, nearBottom = y >= h - CornerGrip;
    if ((top && nearLeft) || (left && nearTop))
        return ht::TopLeft;
    if ((top && nearRight) || (right && nearTop))
        return ht::TopRight;
    if ((bottom && nearLeft) || (left && nearBottom))
        return ht::BottomLeft;
    if ((bottom && nearRight) || (right && nearBottom))
        return ht::BottomRight;
    if (left)
        return ht::Left;
    if (right)
        return ht::Right;
    if (top)
        return ht::Top;
    if (bottom)
        return ht::Bottom;
    return ht::Nowhere;
}

int FrameHitTest(int firstAnswer, QPoint point, const FrameSizes& frame) {
    if (firstAnswer != ht::Nowhere && firstAnswer != ht::Caption)
        return firstAnswer;
    if (point.y() < TopEdgeRows)
        return firstAnswer;
    // The menu band starts at the row right under the caption.
    if (frame.menuBar > 0 && point.y() >= frame.top)
        return ht::Menu;
    return ht::Caption;
}

QRegion WindowRegion(const TSkinData& data, const FrameWindow& window, const FrameSizes& frame) {
    const int w = window.size.width(), h = window.size.height();
    if (w <= 0 || h <= 0)
        return {};
    const QRect whole(0, 0, w, h);
    bool anyTransparent = false;
    for (int side = 0; side < 4; ++side)
        anyTransparent = anyTransparent || data.border(side)->Trans != 0;
    if (!anyTransparent)
        return QRegion(whole);

    QRegion region(
        QRect(frame.left, frame.top, w - frame.left - frame.right, h - frame.top - frame.bottom));
    if (window.borderStyle == BorderNone)
        return region;
    for (int side = 0; side < 4; ++side) {
        const TDataSkinBorder& border = *data.border(side);
        const QRect rect = BorderRect(side, window.size, frame);
        if (border.Trans == 0) {
            region += rect;
            continue;
        }
        const bool shown = sideBorder(side)         ? h > 1
                           : side == TSkinData::Top ? frame.top > 1 && !rect.isEmpty()
                                                    : frame.bottom >= 2;
        if (!shown || rect.isEmpty())
            continue;
        const QImage painted =
            StretchFrame(rect.size(), border.Image, border.margins(), !sideBorder(side),
                         border.Tile != 1, border.FrameCount, BorderFrame(border, window.active));
        region += RegionFromBitmap(painted, rect.x(), rect.y(), 1, 1, 1, Magenta);
    }
    return region;
}

QRegion OutlineForScale(const QRegion& outline, qreal scale, QSize window) {
    if (scale == std::floor(scale))
        return outline;
    // Where a rectangle's end lands on the device: the window system rounds
    // it to the nearest device pixel, a half up, and the painting reaches up
    // to the first device pixel whose centre lies past it.
    const auto overshoots = [scale](int end) {
        return qRound(end * scale) > static_cast<int>(std::ceil(end * scale - 0.5));
    };
    QRegion fitted;
    for (QRect rect : outline) {
        while (rect.right() < window.width() - 1 && rect.width() > 1 &&
               overshoots(rect.x() + rect.width()))
            rect.setWidth(rect.width() - 1);
        while (rect.bottom() < window.height() - 1 && rect.height() > 1 &&
               overshoots(rect.y() + rect.height()))
            rect.setHeight(rect.height() - 1);
        fitted += rect;
    }
    return fitted;
}

QRect DraggedGeometry(const QRect& start, Qt::Edges edges, QPoint delta, QSize minimum,
                      QSize maximum) {
    if (!edges)
        return start.translated(delta);
    QRect g = start;
    if (edges & Qt::LeftEdge)
        g.setLeft(std::clamp(g.left() + delta.x(), g.right() + 1 - maximum.width(),
                             g.right() + 1 - minimum.width()));
    if (edges & Qt::RightEdge)
        g.setWidth(std::clamp(g.width() + delta.x(), minimum.width(), maximum.width()));
    if (edges & Qt::TopEdge)
        g.setTop(std::clamp(g.top() + delta.y(), g.bottom() + 1 - maximum.height(),
                            g.bottom() + 1 - minimum.height()));
    if (edges & Qt::BottomEdge)
        g.setHeight(std::clamp(g.height() + delta.y(), minimum.height(), maximum.height()));
    return g;
}

bool KeyboardSizingStep(KeyboardSizing& sizing, int key, QSize minimum, QSize maximum) {
    constexpr int step = KeyboardSizing::KeyboardStep;
    QPoint delta;
    Qt::Edges edge;
    switch (key) {
    case Qt::Key_Left:
        delta = QPoint(-step, 0);
        edge = Qt::LeftEdge;
        break;
    case Qt::Key_Right:
        delta = QPoint(step, 0);
        edge = Qt::RightEdge;
        break;
    case Qt::Key_Up:
        delta = QPoint(0, -step);
        edge = Qt::TopEdge;
        break;
    case Qt::Key_Down:
        delta = QPoint(0, step);
        edge = Qt::BottomEdge;
        break;
    default:
        return false;
    }
    if (!sizing.sizing) {
        sizing.geometry.translate(delta);
        return true;
    }
    // The first arrow picks the edge; an arrow across it moves that edge.
    if (!sizing.edges)
        sizing.edges = edge;
    const bool horizontal = sizing.edges & (Qt::LeftEdge | Qt::RightEdge);
    if (horizontal != (delta.x() != 0))
        return true;
    sizing.geometry = DraggedGeometry(sizing.geometry, sizing.edges, delta, minimum, maximum);
    return true;
}

void TNCObject::Press() {
    TNCObject* hot = mOwner.hotObject();
    if (hot && hot != this)
        hot->Leave();
    if (!visible)
        return;
    mOwner.setHotObject(this);
    state = Pressed;
    Paint();
}

void TNCObject::Release() {
    if (!visible)
        return;
    state = MouseOver;
    Paint();
}

void TNCObject::Hover() {
    TNCObject* hot = mOwner.hotObject();
    if (hot == this)
        return;
    if (hot)
        hot->Leave();
    if (!visible)
        return;
    mOwner.setHotObject(this);
    state = MouseOver;
    Paint();
}

void TNCObject::Leave() {
    if (!visible)
        return;
    if (mOwner.hotObject() == this)
        mOwner.setHotObject(nullptr);
    state = Normal;
    Paint();
    mOwner.hideCaptionHint();
}

void TNCObject::Paint() {}

} // namespace skin
