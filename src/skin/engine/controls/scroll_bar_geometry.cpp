#include "skin/engine/controls/scroll_bar_geometry.h"

#include "skin/data/bitmap_utils.h"

#include <algorithm>

namespace skin {

namespace {

// The range a stand-alone bar's thumb is placed in; an empty one stands for a
// very large range, which keeps the thumb at the first arrow.
int thumbRange(const ScrollInfo& info) {
    const int range = info.max - info.min;
    return range == 0 ? 9'999'999 : range;
}

} // namespace

int ScrollArrowLength(int length, int arrow) {
    return length < 2 * arrow ? length / 2 : arrow;
}

int ScrollHitTest(const ScrollBarMeasure& bar, QPoint point) {
    const int p = bar.vertical ? point.y() : point.x();
    const int arrow = ScrollArrowLength(bar.length, bar.arrow);
    if (p < arrow)
        return scrollpart::FirstArrow;
    if (p >= bar.length - arrow)
        return scrollpart::SecondArrow;
    if (p < bar.thumbStart)
        return scrollpart::PageBefore;
    if (p < bar.thumbEnd)
        return scrollpart::Thumb;
    return scrollpart::PageAfter;
}

int ScrollBarThickness(int pictureHeight, int arrow, int crossSize) {
    const int thickness = std::abs(pictureHeight - arrow) > 2 ? arrow : pictureHeight;
    return std::min(thickness, crossSize);
}

int ScrollArrowFrame(bool vertical, bool second, int hotPart, bool pressed, bool enabled) {
    const int normal = (vertical ? 9 : 1) + (second ? 4 : 0);
    const int part = second ? scrollpart::SecondArrow : scrollpart::FirstArrow;
    if (!enabled || hotPart != part)
        return normal;
    return normal + (pressed ? 1 : 3);
}

int ScrollTrackFrame(bool enabled) {
    return enabled ? 1 : 3;
}

int ScrollThumbFrame(int hotPart, bool pressed) {
    if (hotPart != scrollpart::Thumb)
        return 1;
    return pressed ? 2 : 3;
}

int ScrollGripFrame(bool vertical, int hotPart, bool pressed) {
    const int normal = vertical ? 20 : 17;
    if (hotPart != scrollpart::Thumb)
        return normal;
    return normal + (pressed ? 1 : 2);
}

ScrollBarPicture ScrollBarLayout(const ScrollBarMeasure& bar, int crossSize, int pictureHeight,
                                 const ScrollBarState& state) {
    ScrollBarPicture out;
    const int length = bar.length, t = ScrollBarThickness(pictureHeight, bar.arrow, crossSize);
    out.thickness = t;
    auto piece = [&](int start, int size) {
        return bar.vertical ? QRect(0, start, t, size) : QRect(start, 0, size, t);
    };

    const int arrow = ScrollArrowLength(length, bar.arrow);
    out.firstArrow = piece(0, arrow);
    out.secondArrow = piece(length - arrow, arrow);
    out.firstArrowFrame =
        ScrollArrowFrame(bar.vertical, false, state.hotPart, state.pressed, state.enabled);
    out.secondArrowFrame =
        ScrollArrowFrame(bar.vertical, true, state.hotPart, state.pressed, state.enabled);

    if (length > 2 * bar.arrow)
        out.track = piece(bar.arrow, length - 2 * bar.arrow);
    out.trackFrame = ScrollTrackFrame(state.enabled);

    const int thumbLength = bar.thumbEnd - bar.thumbStart;
    if (state.enabled && thumbLength > 0 && bar.thumbStart >= 0 && bar.thumbEnd <= length) {
        out.thumb = piece(bar.thumbStart, thumbLength);
        out.thumbFrame = ScrollThumbFrame(state.hotPart, state.pressed);
        // The grip sits in the thumb's middle with room to spare at both ends.
        const int grip = pictureHeight;
        if (grip > 0 && thumbLength >= grip + 2)
            out.grip = piece(bar.thumbStart + (thumbLength - grip) / 2, grip);
        out.gripFrame = ScrollGripFrame(bar.vertical, state.hotPart, state.pressed);
    }
    return out;
}

ThumbExtent FollowThumb(const ScrollBarMeasure& bar, int thumbStartAtPress, int cursorMoved) {
    const int thumbLength = bar.thumbEnd - bar.thumbStart;
    const int last = bar.length - bar.arrow - thumbLength;
    const int start = std::max(bar.arrow, std::min(thumbStartAtPress + cursorMoved, last));
    return {start, start + thumbLength};
}

ThumbExtent ScrollBarThumb(int length, int arrow, int minimum, int maximum, int pageStep,
                           int position, bool upsideDown) {
    const int a = ScrollArrowLength(length, arrow);
    const int track = length - 2 * a;
    if (track <= 0)
        return {a, a};
    const qint64 range = qint64(maximum) - minimum;
    int thumb = track;
    if (range > 0) {
        const qint64 page = std::max(0, pageStep);
        thumb = int(std::max<qint64>(8, page * track / std::max<qint64>(1, range + page)));
    }
    thumb = std::min(thumb, track);
    const int room = track - thumb;
    int moved = 0;
    if (range > 0 && room > 0) {
        const qint64 p = std::clamp<qint64>(qint64(position) - minimum, 0, range);
        moved = int((p * room + range / 2) / range);
        if (upsideDown)
            moved = room - moved;
    }
    return {a + moved, a + moved + thumb};
}

ScrollInfo ScrollInfoFromRange(int minimum, int maximum, int pageStep, int value) {
    return {minimum, pageStep > 0 ? maximum + pageStep - 1 : maximum, pageStep, value};
}

ThumbExtent StandAloneThumb(const ScrollInfo& info, int length, int arrow) {
    const int range = thumbRange(info);
    const bool first = info.pos == info.min;
    const int moved = info.pos - info.min;
    if (info.page == 0) {
        const int start = first ? arrow : MulDiv(length - 3 * arrow, moved, range) + arrow;
        return {start, start + arrow};
    }
    int thumb = MulDiv(length - 2 * arrow, info.page - 1, range);
    int start = 0;
    if (thumb > 7) {
        start = first ? arrow : MulDiv(length - 2 * arrow, moved, range) + arrow;
    } else {
        thumb = 8;
        start = first ? arrow : MulDiv(length - 2 * arrow - 8, moved, range) + arrow;
    }
    return {start, start + thumb};
}

int StandAlonePressThumbStart(const ScrollInfo& info, int length, int arrow) {
    if (info.pos == info.min)
        return arrow;
    const int arrows = info.page != 0 ? 2 : 3;
    return MulDiv(length - arrows * arrow, info.pos - info.min, thumbRange(info)) + arrow;
}

ThumbDrag ThumbDragStart(int barLength, int arrow, int thumbTop, int thumbBottom) {
    return {thumbTop - arrow, barLength - 2 * arrow, thumbBottom - thumbTop};
}

int ThumbDragPosition(const ThumbDrag& drag, const ScrollInfo& info, int cursorMoved) {
    int n = std::max(0, drag.offset + cursorMoved);
    int pos = info.min;
    if (info.page != 0) {
        const int room = drag.track - drag.thumb;
        if (room > 0) {
            if (n > room)
                n = room + 1;
            pos = MulDiv(n, info.max - info.min - info.page, room) + info.min;
            if (pos >= info.max - info.page)
                pos = info.max - info.page + 1;
        }
    } else if (drag.track > 0) {
        pos = MulDiv(std::min(n, drag.track - drag.thumb), info.max - info.min, drag.track) +
              info.min;
        pos = std::min(pos, info.max);
    }
    return std::max(pos, info.min);
}

} // namespace skin
