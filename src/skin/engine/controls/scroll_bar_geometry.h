#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// The skinned scroll bar worked out without a window: which part of the bar a
// point is on, where the arrows, track, thumb and grip go, which frame each
// shows, and where a dragged thumb puts the position. Lengths run along the
// bar from its start (left or top); rectangles are in the bar's coordinates.
namespace skin {

// The parts of a bar. Each number is the scroll request the part makes, so a
// request code received while the bar scrolls can be stored as the hot part;
// any other stored value (such as 8, the end of scrolling) matches no part.
namespace scrollpart {
constexpr int None = -1;
constexpr int FirstArrow = 0;  // left or up: a line back
constexpr int SecondArrow = 1; // right or down: a line on
constexpr int PageBefore = 2;  // the track before the thumb
constexpr int PageAfter = 3;   // the track after the thumb
constexpr int Thumb = 5;
} // namespace scrollpart

// What the bar is showing: its length, one arrow's length and the thumb's
// ends, all along the bar.
struct ScrollBarMeasure {
    bool vertical = true;
    int length = 0;
    int arrow = 17;
    int thumbStart = 0;
    int thumbEnd = 0;
};

// The length each arrow is drawn: the arrow's own length, or half the bar
// (rounded down) on a bar shorter than two arrows.
int ScrollArrowLength(int length, int arrow);

// The part under a point of the bar, by its coordinate along the bar: the
// arrows (as drawn, so on a short bar each half is its own arrow), the track
// before the thumb, the thumb, the track after it.
int ScrollHitTest(const ScrollBarMeasure& bar, QPoint point);

// The bar's thickness for the skin: the Scrollbar picture's height, or the
// arrow's length when the two differ by more than 2; never more than the
// bar's own cross size, so a thick picture does not cover the arrows.
int ScrollBarThickness(int pictureHeight, int arrow, int crossSize);

// Frames of "Scrollbar" (23): arrows 1 / 5 (horizontal) and 9 / 13
// (vertical); the hot arrow adds 1 while pressed and 3 under the mouse. A
// disabled bar's arrows keep their normal frame.
int ScrollArrowFrame(bool vertical, bool second, int hotPart, bool pressed, bool enabled);
// The track (HorzScroll / VertScroll, 4 frames): 1 enabled, 3 disabled.
int ScrollTrackFrame(bool enabled);
// The thumb: 1, or on the hot thumb 2 pressed and 3 under the mouse.
int ScrollThumbFrame(int hotPart, bool pressed);
// The thumb's grip in "Scrollbar": 17 horizontal, 20 vertical; plus 1 on the
// hot thumb pressed, plus 2 under the mouse.
int ScrollGripFrame(bool vertical, int hotPart, bool pressed);

struct ScrollBarState {
    bool enabled = true;
    int hotPart = scrollpart::None;
    bool pressed = false;
};

// Where every piece of the skinned bar goes, with its frame. `crossSize` is
// the native bar's thickness; `pictureHeight` the Scrollbar picture's height
// (its thickness and the grip's length).
struct ScrollBarPicture {
    int thickness = 0;
    QRect firstArrow;
    int firstArrowFrame = 0;
    QRect secondArrow;
    int secondArrowFrame = 0;
    std::optional<QRect> track; // none on a bar shorter than two arrows
    int trackFrame = 1;
    std::optional<QRect> thumb; // none on a disabled bar or one without a thumb
    int thumbFrame = 1;
    std::optional<QRect> grip; // none on a thumb shorter than the grip + 2
    int gripFrame = 17;
};
ScrollBarPicture ScrollBarLayout(const ScrollBarMeasure& bar, int crossSize, int pictureHeight,
                                 const ScrollBarState& state);

// The thumb of a pressed bar while it is dragged: the thumb at the press
// moved by the cursor, kept between the arrows with its length.
struct ThumbExtent {
    int start = 0;
    int end = 0;
};
ThumbExtent FollowThumb(const ScrollBarMeasure& bar, int thumbStartAtPress, int cursorMoved);

// The thumb of a bar that counts from `minimum` to `maximum` (its last
// position) by `pageStep` per page, at `position`: as long as the page is of
// the range plus the page, at least 8 pixels and at most the track between
// the arrows; `upsideDown` counts from the bar's end. A bar without room
// between its arrows has an empty thumb after the first arrow.
ThumbExtent ScrollBarThumb(int length, int arrow, int minimum, int maximum, int pageStep,
                           int position, bool upsideDown = false);

// The window system's scroll information: the last position of a bar with a
// page is max − page + 1.
struct ScrollInfo {
    int min = 0;
    int max = 0;
    int page = 0;
    int pos = 0;
};
// The same for a bar that counts from `minimum` to `maximum` (the last
// position) with `pageStep` per page.
ScrollInfo ScrollInfoFromRange(int minimum, int maximum, int pageStep, int value);

// The thumb of a stand-alone bar from its scroll information: proportional to
// the page (at least 8 long) or as long as an arrow without a page. An empty
// range counts as 9 999 999, so its thumb stays at the first arrow.
ThumbExtent StandAloneThumb(const ScrollInfo& info, int length, int arrow);
// Where a stand-alone bar's thumb starts when the button goes down on it.
int StandAlonePressThumbStart(const ScrollInfo& info, int length, int arrow);

// A thumb drag on a drop-down list's bar: where the thumb was against the
// track when the button went down.
struct ThumbDrag {
    int offset = 0; // the thumb's start past the first arrow
    int track = 0;  // the length between the arrows
    int thumb = 0;  // the thumb's length
};
ThumbDrag ThumbDragStart(int barLength, int arrow, int thumbTop, int thumbBottom);
// The position for the cursor moved by `cursorMoved` since the press: it
// stops at the bar's last position (max − page + 1), and a track with no room
// for the thumb to move leaves the position at the minimum.
int ThumbDragPosition(const ThumbDrag& drag, const ScrollInfo& info, int cursorMoved);

} // namespace skin
