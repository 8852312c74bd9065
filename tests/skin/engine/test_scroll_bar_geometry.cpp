#include "skin/engine/controls/scroll_bar_geometry.h"

#include <gtest/gtest.h>

using namespace skin;

namespace {

// A bar 200 long with 17-pixel arrows and its thumb from 60 to 100.
ScrollBarMeasure bar(bool vertical, int length = 200, int thumbStart = 60, int thumbEnd = 100) {
    return {vertical, length, 17, thumbStart, thumbEnd};
}

} // namespace

TEST(ScrollHitTest, ClassifiesAlongTheBarInBothOrientations) {
    const struct {
        int p, part;
    } cases[] = {
        {0, scrollpart::FirstArrow},    {16, scrollpart::FirstArrow},
        {17, scrollpart::PageBefore},   {59, scrollpart::PageBefore},
        {60, scrollpart::Thumb},        {99, scrollpart::Thumb},
        {100, scrollpart::PageAfter},   {182, scrollpart::PageAfter},
        {183, scrollpart::SecondArrow}, {199, scrollpart::SecondArrow},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScrollHitTest(bar(true), {8, c.p}), c.part) << "vertical at " << c.p;
        EXPECT_EQ(ScrollHitTest(bar(false), {c.p, 8}), c.part) << "horizontal at " << c.p;
    }
    // Only the coordinate along the bar counts.
    EXPECT_EQ(ScrollHitTest(bar(false), {70, 500}), scrollpart::Thumb);
    EXPECT_EQ(ScrollHitTest(bar(true), {70, 500}), scrollpart::SecondArrow);
}

TEST(ScrollHitTest, ShortBarSplitsIntoTwoHalfArrows) {
    // 20 long with 17-pixel arrows: each arrow is drawn 10 long and answers there.
    EXPECT_EQ(ScrollArrowLength(20, 17), 10);
    EXPECT_EQ(ScrollArrowLength(33, 17), 16);
    EXPECT_EQ(ScrollArrowLength(34, 17), 17);
    const ScrollBarMeasure shortBar = bar(true, 20, 0, 0);
    EXPECT_EQ(ScrollHitTest(shortBar, {5, 9}), scrollpart::FirstArrow);
    EXPECT_EQ(ScrollHitTest(shortBar, {5, 10}), scrollpart::SecondArrow);
    EXPECT_EQ(ScrollHitTest(shortBar, {5, 19}), scrollpart::SecondArrow);
}

TEST(ScrollFrames, ByPartAndState) {
    using namespace scrollpart;
    // Vertical arrows 9 and 13, horizontal 1 and 5: +1 pressed, +3 under the mouse.
    EXPECT_EQ(ScrollArrowFrame(true, false, None, false, true), 9);
    EXPECT_EQ(ScrollArrowFrame(true, false, FirstArrow, true, true), 10);
    EXPECT_EQ(ScrollArrowFrame(true, false, FirstArrow, false, true), 12);
    EXPECT_EQ(ScrollArrowFrame(true, true, SecondArrow, true, true), 14);
    EXPECT_EQ(ScrollArrowFrame(true, true, SecondArrow, false, true), 16);
    EXPECT_EQ(ScrollArrowFrame(true, true, FirstArrow, true, true), 13) << "the other arrow is hot";
    EXPECT_EQ(ScrollArrowFrame(false, false, FirstArrow, true, true), 2);
    EXPECT_EQ(ScrollArrowFrame(false, true, SecondArrow, false, true), 8);
    EXPECT_EQ(ScrollArrowFrame(false, true, 8, false, true), 5)
        << "the end of scrolling is no part";
    EXPECT_EQ(ScrollArrowFrame(true, true, SecondArrow, true, false), 13) << "disabled";

    EXPECT_EQ(ScrollTrackFrame(true), 1);
    EXPECT_EQ(ScrollTrackFrame(false), 3);
    EXPECT_EQ(ScrollThumbFrame(Thumb, true), 2);
    EXPECT_EQ(ScrollThumbFrame(Thumb, false), 3);
    EXPECT_EQ(ScrollThumbFrame(PageAfter, true), 1);
    EXPECT_EQ(ScrollGripFrame(true, None, false), 20);
    EXPECT_EQ(ScrollGripFrame(true, Thumb, true), 21);
    EXPECT_EQ(ScrollGripFrame(true, Thumb, false), 22);
    EXPECT_EQ(ScrollGripFrame(false, Thumb, true), 18);
    EXPECT_EQ(ScrollGripFrame(false, Thumb, false), 19);
}

TEST(ScrollBarThickness, PictureHeightNearTheArrowNeverThickerThanTheBar) {
    EXPECT_EQ(ScrollBarThickness(16, 17, 16), 16);
    EXPECT_EQ(ScrollBarThickness(19, 17, 19), 19);
    EXPECT_EQ(ScrollBarThickness(24, 17, 40), 17) << "more than 2 off: the arrow's length";
    EXPECT_EQ(ScrollBarThickness(16, 17, 12), 12) << "cut to the bar";
}

TEST(ScrollBarLayout, VerticalBarWithThumbAndGrip) {
    const ScrollBarPicture p = ScrollBarLayout(bar(true), 16, 16, {});
    EXPECT_EQ(p.thickness, 16);
    EXPECT_EQ(p.firstArrow, QRect(0, 0, 16, 17));
    EXPECT_EQ(p.firstArrowFrame, 9);
    EXPECT_EQ(p.secondArrow, QRect(0, 183, 16, 17));
    EXPECT_EQ(p.secondArrowFrame, 13);
    EXPECT_EQ(p.track, QRect(0, 17, 16, 166));
    EXPECT_EQ(p.trackFrame, 1);
    EXPECT_EQ(p.thumb, QRect(0, 60, 16, 40));
    EXPECT_EQ(p.thumbFrame, 1);
    EXPECT_EQ(p.grip, QRect(0, 72, 16, 16));
    EXPECT_EQ(p.gripFrame, 20);
}

TEST(ScrollBarLayout, HorizontalBarPressedOnTheThumb) {
    const ScrollBarPicture p =
        ScrollBarLayout(bar(false, 120, 30, 70), 16, 16, {true, scrollpart::Thumb, true});
    EXPECT_EQ(p.firstArrow, QRect(0, 0, 17, 16));
    EXPECT_EQ(p.firstArrowFrame, 1);
    EXPECT_EQ(p.secondArrow, QRect(103, 0, 17, 16));
    EXPECT_EQ(p.secondArrowFrame, 5);
    EXPECT_EQ(p.track, QRect(17, 0, 86, 16));
    EXPECT_EQ(p.thumb, QRect(30, 0, 40, 16));
    EXPECT_EQ(p.thumbFrame, 2);
    EXPECT_EQ(p.grip, QRect(42, 0, 16, 16));
    EXPECT_EQ(p.gripFrame, 18);
}

TEST(ScrollBarLayout, DisabledBarShowsTrackFrameThreeAndNoThumb) {
    const ScrollBarPicture p =
        ScrollBarLayout(bar(true), 16, 16, {false, scrollpart::SecondArrow, true});
    EXPECT_EQ(p.trackFrame, 3);
    EXPECT_FALSE(p.thumb);
    EXPECT_FALSE(p.grip);
    EXPECT_EQ(p.firstArrowFrame, 9);
    EXPECT_EQ(p.secondArrowFrame, 13);
}

TEST(ScrollBarLayout, ShortBarHasHalfArrowsAndNoTrack) {
    const ScrollBarPicture p = ScrollBarLayout(bar(true, 30, 0, 0), 16, 16, {});
    EXPECT_EQ(p.firstArrow, QRect(0, 0, 16, 15));
    EXPECT_EQ(p.secondArrow, QRect(0, 15, 16, 15));
    EXPECT_FALSE(p.track);
    EXPECT_FALSE(p.thumb);
    // Exactly two arrows long: still no track between them.
    EXPECT_FALSE(ScrollBarLayout(bar(true, 34, 0, 0), 16, 16, {}).track);
}

TEST(ScrollBarLayout, GripOnlyOnAThumbTwoLongerThanIt) {
    EXPECT_FALSE(ScrollBarLayout(bar(true, 200, 60, 77), 16, 16, {}).grip);
    EXPECT_EQ(ScrollBarLayout(bar(true, 200, 60, 78), 16, 16, {}).grip, QRect(0, 61, 16, 16));
    // A thumb reaching past the bar is not drawn.
    EXPECT_FALSE(ScrollBarLayout(bar(true, 200, 170, 210), 16, 16, {}).thumb);
}

TEST(ScrollBarLayout, ThickPictureIsCutToTheBar) {
    const ScrollBarPicture p = ScrollBarLayout(bar(true), 15, 17, {});
    EXPECT_EQ(p.thickness, 15);
    EXPECT_EQ(p.firstArrow, QRect(0, 0, 15, 17));
    EXPECT_EQ(p.thumb, QRect(0, 60, 15, 40));
}

TEST(FollowThumb, MovesWithTheCursorBetweenTheArrows) {
    EXPECT_EQ(FollowThumb(bar(true), 60, 30).start, 90);
    EXPECT_EQ(FollowThumb(bar(true), 60, 30).end, 130);
    EXPECT_EQ(FollowThumb(bar(true), 60, -100).start, 17);
    EXPECT_EQ(FollowThumb(bar(true), 60, 500).start, 143);
    EXPECT_EQ(FollowThumb(bar(true), 60, 500).end, 183);
    // A track as short as the thumb, or shorter: the thumb stays at the first arrow.
    EXPECT_EQ(FollowThumb(bar(true, 74, 17, 57), 17, 20).start, 17);
    EXPECT_EQ(FollowThumb(bar(true, 60, 17, 57), 17, 20).start, 17);
}

TEST(StandAloneThumb, ProportionalToThePageAtLeastEightLong) {
    // 200 long, 17-pixel arrows, positions 0 to 90 with a page of 10.
    EXPECT_EQ(ScrollInfoFromRange(0, 90, 10, 45).max, 99);
    EXPECT_EQ(ScrollInfoFromRange(0, 50, 0, 3).max, 50);
    const ScrollInfo info{0, 99, 10, 0};
    EXPECT_EQ(StandAloneThumb(info, 200, 17).start, 17);
    EXPECT_EQ(StandAloneThumb(info, 200, 17).end, 32);
    EXPECT_EQ(StandAloneThumb({0, 99, 10, 45}, 200, 17).start, 92);
    EXPECT_EQ(StandAloneThumb({0, 99, 10, 90}, 200, 17).end, 183) << "the last position";
    // 166 × 9 ÷ 999 rounds to 1: the thumb becomes 8 long.
    EXPECT_EQ(StandAloneThumb({0, 999, 10, 500}, 200, 17).start, 96);
    EXPECT_EQ(StandAloneThumb({0, 999, 10, 500}, 200, 17).end, 104);
    // Without a page the thumb is an arrow long: 149 × 50 ÷ 100 rounds up to 75.
    EXPECT_EQ(StandAloneThumb({0, 100, 0, 50}, 200, 17).start, 92);
    EXPECT_EQ(StandAloneThumb({0, 100, 0, 50}, 200, 17).end, 109);
}

TEST(StandAloneThumb, EmptyRangeKeepsTheThumbAtTheFirstArrow) {
    EXPECT_EQ(StandAloneThumb({5, 5, 0, 5}, 200, 17).start, 17);
    EXPECT_EQ(StandAloneThumb({5, 5, 1, 7}, 200, 17).start, 17);
    EXPECT_EQ(StandAloneThumb({5, 5, 1, 7}, 200, 17).end, 25);
    EXPECT_EQ(StandAlonePressThumbStart({3, 3, 0, 4}, 200, 17), 17);
    EXPECT_EQ(StandAlonePressThumbStart({3, 3, 5, 4}, 200, 17), 17);
    EXPECT_EQ(StandAlonePressThumbStart({0, 99, 10, 45}, 200, 17), 92);
    EXPECT_EQ(StandAlonePressThumbStart({0, 100, 0, 50}, 200, 17), 92);
    EXPECT_EQ(StandAlonePressThumbStart({0, 100, 0, 0}, 200, 17), 17);
}

TEST(ThumbDrag, StopsAtTheLastPosition) {
    // A list bar 150 high, thumb 17 to 47; 50 items, 8 in view: positions 0 to 42.
    const ThumbDrag drag = ThumbDragStart(150, 17, 17, 47);
    EXPECT_EQ(drag.offset, 0);
    EXPECT_EQ(drag.track, 116);
    EXPECT_EQ(drag.thumb, 30);
    const ScrollInfo info{0, 49, 8, 0};
    EXPECT_EQ(ThumbDragPosition(drag, info, 0), 0);
    EXPECT_EQ(ThumbDragPosition(drag, info, -50), 0);
    EXPECT_EQ(ThumbDragPosition(drag, info, 40), 19); // 40 × 41 ÷ 86
    EXPECT_EQ(ThumbDragPosition(drag, info, 86), 42);
    EXPECT_EQ(ThumbDragPosition(drag, info, 500), 42);
    // Counted from a minimum of 10, the same.
    EXPECT_EQ(ThumbDragPosition(drag, {10, 59, 8, 10}, 500), 52);
}

TEST(ThumbDrag, NoRoomToMoveOrNoPageStaysInRange) {
    // The thumb fills the track: nothing to scroll, the position stays at the minimum.
    EXPECT_EQ(ThumbDragPosition({0, 116, 116}, {10, 17, 8, 10}, 30), 10);
    EXPECT_EQ(ThumbDragPosition({0, 116, 120}, {0, 7, 8, 0}, 30), 0);
    EXPECT_EQ(ThumbDragPosition({0, 0, 0}, {0, 100, 0, 0}, 30), 0);
    // Without a page: proportional over the whole track, at most the maximum.
    EXPECT_EQ(ThumbDragPosition({0, 116, 17}, {0, 100, 0, 0}, 50), 43);
    EXPECT_EQ(ThumbDragPosition({0, 116, 17}, {0, 100, 0, 0}, 500), 85);
}

TEST(ScrollBarThumb, ProportionalBetweenTheArrowsAndAtLeastEightLong) {
    // 200 long, 17-pixel arrows: a track of 166. A page of 10 in 0..29 (40 in
    // all) is a quarter of it.
    EXPECT_EQ(ScrollBarThumb(200, 17, 0, 30, 10, 0).start, 17);
    EXPECT_EQ(ScrollBarThumb(200, 17, 0, 30, 10, 0).end, 17 + 41);
    EXPECT_EQ(ScrollBarThumb(200, 17, 0, 30, 10, 30).end, 183) << "the last position";
    EXPECT_EQ(ScrollBarThumb(200, 17, 0, 30, 10, 15).start, 17 + 63) << "rounded";
    EXPECT_EQ(ScrollBarThumb(200, 17, 0, 30, 10, 30, true).start, 17) << "upside down";
    // 2000 rows of a 10-row page: 8 long, not 0.
    EXPECT_EQ(ScrollBarThumb(200, 17, 0, 1990, 10, 0).end - 17, 8);
    EXPECT_EQ(ScrollBarThumb(200, 17, 0, 1000, 5, 2000).end, 183) << "kept in range";
    // No range: the thumb fills the track; no room: nothing between the arrows.
    EXPECT_EQ(ScrollBarThumb(200, 17, 4, 4, 10, 4).end, 183);
    EXPECT_EQ(ScrollBarThumb(30, 17, 0, 50, 10, 20).start, 15);
    EXPECT_EQ(ScrollBarThumb(30, 17, 0, 50, 10, 20).end, 15);
}
