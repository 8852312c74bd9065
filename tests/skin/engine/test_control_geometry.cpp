#include "skin/engine/controls/control_geometry.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace skin::mousestate;

TEST(ButtonFrame, PressedBeforeOverBeforeFocusedAndDisabledOverAll) {
    EXPECT_EQ(ButtonFrame(0, false, true), 1);
    EXPECT_EQ(ButtonFrame(Pressed, false, true), 2);
    EXPECT_EQ(ButtonFrame(Over, false, true), 4);
    EXPECT_EQ(ButtonFrame(Over | Pressed, true, true), 2);
    EXPECT_EQ(ButtonFrame(Over, true, true), 4);
    EXPECT_EQ(ButtonFrame(0, true, true), 5);
    EXPECT_EQ(ButtonFrame(Over | Pressed, true, false), 3);
    EXPECT_EQ(ButtonFrame(0, true, false), 3);
}

TEST(ButtonFrame, CaptionColourFollowsTheFrameWhereTheSkinGivesOne) {
    TDataSkinButton element;
    EXPECT_EQ(ButtonCaptionColour(element, 1, 77), std::nullopt) << "the font's own colour";
    EXPECT_EQ(ButtonCaptionColour(element, 3, 77), 77);

    element.NormalColour2 = 10;
    element.NormalColour2Given = true;
    element.MouseOverColour2 = 20;
    element.MouseOverColour2Given = true;
    element.PressedColour2 = 30; // not given: pressed keeps the normal colour
    EXPECT_EQ(ButtonCaptionColour(element, 1, 77), 10);
    EXPECT_EQ(ButtonCaptionColour(element, 5, 77), 10);
    EXPECT_EQ(ButtonCaptionColour(element, 4, 77), 20);
    EXPECT_EQ(ButtonCaptionColour(element, 2, 77), 10);
    EXPECT_EQ(ButtonCaptionColour(element, 3, 77), 77);
}

TEST(ButtonCaption, OnlyTheFirstDoubleBarBreaksTheLine) {
    EXPECT_EQ(ButtonCaptionText(QStringLiteral("备份||数据库||x")),
              QStringLiteral("备份\n数据库||x"));
    EXPECT_EQ(ButtonCaptionText(QStringLiteral("退出")), QStringLiteral("退出"));
}

TEST(ButtonCaption, CentredOnePixelAboveTheMiddleWithTheFocusAround) {
    EXPECT_EQ(ButtonTextBounds({75, 25}), QRect(2, 2, 71, 21));
    const ButtonCaptionPlace place = ButtonCaptionGeometry({75, 25}, {24, 12});
    EXPECT_EQ(place.text, QRect(25, 5, 24, 12));
    EXPECT_EQ(place.focus, QRect(23, 3, 28, 16));
}

TEST(BitButton, NoMarginAndNoSpacingShareTheFreeLengthInThree) {
    // 100 − 16 − 42 = 42 free pixels: 14 before the glyph, 14 between, 14 after.
    const BitButtonPlace place = BitButtonGeometry({{100, 30}, {16, 16}, {42, 14}, -1, -1});
    EXPECT_EQ(place.glyph, QRect(14, 7, 16, 16));
    EXPECT_EQ(place.text, QRect(44, 8, 42, 14));
    EXPECT_EQ(place.textAlignment, TextAlignment::Left);
}

TEST(BitButton, WithoutCaptionTheGlyphIsCentred) {
    const BitButtonPlace place = BitButtonGeometry({{100, 30}, {16, 16}, {0, 0}, -1, -1});
    EXPECT_EQ(place.glyph, QRect(42, 7, 16, 16));
    // A given spacing counts for nothing without a caption either.
    EXPECT_EQ(BitButtonGeometry({{100, 30}, {16, 16}, {0, 0}, -1, 6}).glyph.x(), 42);
    // Without a glyph the caption is centred alone.
    EXPECT_EQ(BitButtonGeometry({{100, 30}, {0, 0}, {40, 14}, -1, -1}).text, QRect(30, 8, 40, 14));
}

TEST(BitButton, GlyphRightWithAMarginSplitsTheRestBeforeTheCaption) {
    // Spacing ((100 − 4 − 16) − 42) div 2 = 19; the glyph ends 4 from the right.
    const BitButtonPlace place =
        BitButtonGeometry({{100, 30}, {16, 16}, {42, 14}, 4, -1, GlyphLayout::Right});
    EXPECT_EQ(place.glyph, QRect(80, 7, 16, 16));
    EXPECT_EQ(place.text, QRect(19, 8, 42, 14));
    EXPECT_EQ(place.textAlignment, TextAlignment::Right);
}

TEST(BitButton, GlyphAboveOrBelowLaysOutDownwards) {
    const BitButtonPlace top =
        BitButtonGeometry({{60, 50}, {24, 24}, {30, 14}, 3, 2, GlyphLayout::Top});
    EXPECT_EQ(top.glyph, QRect(18, 3, 24, 24));
    EXPECT_EQ(top.text, QRect(15, 29, 30, 14));
    EXPECT_EQ(top.textAlignment, TextAlignment::Center);

    // A centred alignment ignores the margin: (50 − 24 − 4 − 14) div 2 = 4.
    const BitButtonPlace bottom =
        BitButtonGeometry({{60, 50}, {24, 24}, {30, 14}, 9, 4, GlyphLayout::Bottom, true});
    EXPECT_EQ(bottom.glyph, QRect(18, 22, 24, 24));
    EXPECT_EQ(bottom.text, QRect(15, 4, 30, 14));
}

TEST(BitButton, CaptionIsMeasuredBesideTheGlyph) {
    EXPECT_EQ(BitButtonTextBounds({100, 30}, {16, 16}, GlyphLayout::Left), QSize(78, 26));
    EXPECT_EQ(BitButtonTextBounds({100, 30}, {16, 16}, GlyphLayout::Bottom), QSize(96, 8));
    EXPECT_EQ(GlyphLayoutFromName(QStringLiteral("blGlyphTop")), GlyphLayout::Top);
    EXPECT_EQ(GlyphLayoutFromName(QStringLiteral("blGlyphRight")), GlyphLayout::Right);
    EXPECT_EQ(GlyphLayoutFromName(QStringLiteral("centre")), GlyphLayout::Left);
}

TEST(BitButton, GlyphFrameByStateAndEmbossedWhenItHasOnlyOne) {
    const struct {
        int buttonFrame, glyphFrames, frame;
        bool emboss;
    } cases[] = {
        {2, 4, 3, false}, {3, 4, 2, false}, {1, 4, 1, false},
        {4, 4, 1, false}, {5, 4, 1, false}, {2, 2, 1, false}, // fewer frames than wanted: frame 1
        {3, 1, 1, true},  {2, 1, 1, false},
    };
    for (const auto& c : cases) {
        const GlyphChoice choice = BitButtonGlyph(c.buttonFrame, c.glyphFrames);
        EXPECT_EQ(choice.frame, c.frame) << c.buttonFrame << " " << c.glyphFrames;
        EXPECT_EQ(choice.emboss, c.emboss) << c.buttonFrame << " " << c.glyphFrames;
    }
}

TEST(FlatBorder, ShadowThenWhiteFramesAndNoneWithoutABorder) {
    EXPECT_EQ(FlatBorderFrames({100, 21}, {96, 17}, 2),
              (std::vector<QRect>{{0, 0, 100, 21}, {1, 1, 98, 19}, {2, 2, 96, 17}}));
    EXPECT_EQ(FlatBorderFrames({120, 21}, {116, 17}, 1),
              (std::vector<QRect>{{0, 0, 120, 21}, {1, 1, 118, 19}}));
    EXPECT_TRUE(FlatBorderFrames({100, 21}, {100, 21}, 2).empty()) << "a frameless edit";
    EXPECT_TRUE(FlatBorderFrames({100, 21}, {100, 17}, 2).empty());
    EXPECT_TRUE(FlatBorderFrames({100, 21}, {96, 21}, 2).empty());
}

TEST(ComboFrame, DisabledOverridesExceptInThePlainPainting) {
    EXPECT_EQ(ComboFrame(0, false, true), 1);
    EXPECT_EQ(ComboFrame(Pressed | Over, false, true), 2);
    EXPECT_EQ(ComboFrame(Over, false, true), 4);
    EXPECT_EQ(ComboFrame(0, true, true), 4);
    EXPECT_EQ(ComboFrame(Pressed, true, false), 3);

    EXPECT_EQ(ComboPlainFrame(Pressed, false, false), 2);
    EXPECT_EQ(ComboPlainFrame(Over, false, false), 4);
    EXPECT_EQ(ComboPlainFrame(0, false, false), 3);
    EXPECT_EQ(ComboPlainFrame(0, false, true), 1);

    EXPECT_EQ(DateArrowFrame(true), 4);
    EXPECT_EQ(DateArrowFrame(false), 1);
}

TEST(ComboGeometry, SeparateButtonLeavesTheTextAreaOut) {
    // A 120 × 21 box with 17-pixel arrows: the button is the last 19 pixels.
    const ComboPlace right = ComboGeometry(0, {120, 21}, false, 17, 17, {18, 21});
    EXPECT_FALSE(right.fullPicture);
    EXPECT_EQ(right.button, QRect(101, 0, 19, 21));
    EXPECT_EQ(right.textArea, QRect(2, 2, 97, 17));
    EXPECT_EQ(right.arrowArea, QRect(101, 0, 17, 21));

    const ComboPlace left = ComboGeometry(0, {120, 21}, true, 17, 17, {18, 21});
    EXPECT_EQ(left.button, QRect(0, 0, 19, 21));
    EXPECT_EQ(left.textArea, QRect(21, 2, 97, 17));
    EXPECT_EQ(left.arrowArea, QRect(2, 0, 17, 21));
}

TEST(ComboGeometry, FullPictureCoversTheBoxAndMirrorsForALeftButton) {
    const ComboPlace right = ComboGeometry(2, {120, 21}, false, 17, 17, {50, 21});
    EXPECT_TRUE(right.fullPicture);
    EXPECT_FALSE(right.mirrored);
    EXPECT_FALSE(right.textArea) << "the picture's magenta middle lets the text through";
    EXPECT_EQ(right.button, QRect(101, 0, 19, 21)) << "hover counts only on the button";

    const ComboPlace left = ComboGeometry(2, {120, 21}, true, 17, 17, {50, 21});
    EXPECT_TRUE(left.mirrored);
    EXPECT_EQ(left.button, QRect(0, 0, 19, 21));
}

TEST(ComboGeometry, PlainPaintingPutsOneCellInTheThumbWideButtonArea) {
    const ComboPlace right = ComboGeometry(1, {120, 21}, false, 17, 17, {16, 12});
    EXPECT_EQ(right.innerFrame, QRect(1, 1, 118, 19));
    EXPECT_EQ(right.buttonArea, QRect(101, 2, 17, 17));
    // The cell is lower than the thumb: it keeps its height, in the middle.
    EXPECT_EQ(right.button, QRect(102, 4, 16, 12));

    const ComboPlace left = ComboGeometry(1, {120, 21}, true, 17, 17, {16, 12});
    EXPECT_EQ(left.buttonArea, QRect(2, 2, 17, 17));
    EXPECT_EQ(left.button, QRect(2, 4, 16, 12));
    // A cell as high as the thumb fills the area's height.
    EXPECT_EQ(ComboGeometry(1, {120, 21}, false, 17, 17, {16, 21}).button, QRect(102, 2, 16, 17));
}

TEST(DateArrow, LiesOverThePickersButton) {
    // Just inside a two-pixel border, from top to bottom.
    EXPECT_EQ(DateArrowRect({100, 21}, 2, 17, false), QRect(81, 2, 17, 17));
    EXPECT_EQ(DateArrowRect({100, 21}, 2, 17, true), QRect(4, 2, 17, 17));
    EXPECT_EQ(DateArrowRect({100, 21}, 0, 17, false), QRect(79, 0, 17, 17));
}

TEST(UpDown, HalvesStatesAndFrames) {
    const UpDownPlace vertical = UpDownGeometry({17, 21}, false);
    EXPECT_EQ(vertical.first, QRect(0, 0, 17, 10));
    EXPECT_EQ(vertical.second, QRect(0, 10, 17, 11));
    const UpDownPlace horizontal = UpDownGeometry({31, 15}, true);
    EXPECT_EQ(horizontal.first, QRect(0, 0, 15, 15));
    EXPECT_EQ(horizontal.second, QRect(15, 0, 16, 15));

    EXPECT_EQ(UpDownState(true, true, Pressed | Over), 2);
    EXPECT_EQ(UpDownState(true, true, Over), 4);
    EXPECT_EQ(UpDownState(true, false, Pressed | Over), 1) << "the other half is pressed";
    EXPECT_EQ(UpDownState(false, true, Pressed), 3);

    EXPECT_EQ(UpDownFrame(false, 1), 1);
    EXPECT_EQ(UpDownFrame(false, 4), 4);
    EXPECT_EQ(UpDownFrame(true, 1), 5);
    EXPECT_EQ(UpDownFrame(true, 4), 8);
}

TEST(UpDown, SpinButtonDrawsThreePixelsInsideTheEdit) {
    // The spin button of an 80 × 21 edit at (62, 1), 17 × 19: it draws from
    // y 2 to 16 of its own and x 0 to 14, i.e. 3 pixels in from the edit's
    // top, bottom and right.
    const QRect drawn = UpDownInEditRect({62, 1, 17, 19}, {80, 21});
    EXPECT_EQ(drawn, QRect(0, 2, 15, 15));
    EXPECT_EQ(drawn.translated(62, 1).top(), 3);
    EXPECT_EQ(drawn.translated(62, 1).bottom(), 21 - 1 - 3);
    EXPECT_EQ(drawn.translated(62, 1).right(), 80 - 1 - 3);
    // Well inside already: nothing changes.
    EXPECT_EQ(UpDownInEditRect({50, 4, 17, 13}, {80, 21}), QRect(0, 0, 17, 13));
}

TEST(StatusBar, PanelsGrowTwoPixelsAndTheLastReachesTheRightEdge) {
    const std::vector<StatusPanel> panels = {
        {QRect(0, 2, 300, 17), TextAlignment::Left, false, Lowered, true},
        {std::nullopt, TextAlignment::Left, false, Lowered, true},
        {QRect(302, 2, 200, 17), TextAlignment::Right, true, Raised, true},
    };
    const std::vector<StatusPanelPlace> places = StatusPanelPlaces({600, 19}, panels);
    ASSERT_EQ(places.size(), 2u) << "the panel without a rectangle is skipped";
    EXPECT_EQ(places[0].index, 0);
    EXPECT_EQ(places[0].background, QRect(0, 2, 302, 17));
    EXPECT_EQ(places[0].frame, 1);
    EXPECT_EQ(places[0].textArea, QRect(2, 2, 298, 17));
    EXPECT_EQ(places[0].alignment, TextAlignment::Left);

    EXPECT_EQ(places[1].index, 2);
    EXPECT_EQ(places[1].background, QRect(302, 2, 298, 17));
    EXPECT_EQ(places[1].frame, 2);
    EXPECT_EQ(places[1].textArea, QRect(304, 2, 294, 17));
    EXPECT_EQ(places[1].alignment, TextAlignment::Left) << "right-aligned, right to left";
}

TEST(StatusBar, PanelKindsAndTheSimpleBar) {
    const std::vector<StatusPanel> panels = {
        {QRect(0, 2, 100, 17), TextAlignment::Center, true, NoBevel, true},
        {QRect(102, 2, 100, 17), TextAlignment::Left, false, Lowered, false},
    };
    const std::vector<StatusPanelPlace> places = StatusPanelPlaces({400, 19}, panels);
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0].frame, 3);
    EXPECT_EQ(places[0].alignment, TextAlignment::Center);
    EXPECT_FALSE(places[1].textArea) << "an owner-drawn panel gets no text";

    const StatusPanelPlace simple = SimpleStatusPlace({400, 19}, true);
    EXPECT_EQ(simple.background, QRect(0, 0, 400, 19));
    EXPECT_EQ(simple.frame, 1);
    EXPECT_EQ(simple.textArea, QRect(2, 0, 396, 19));
    EXPECT_EQ(simple.alignment, TextAlignment::Right);
    EXPECT_EQ(SimpleStatusPlace({400, 19}, false).alignment, TextAlignment::Left);
}

TEST(StatusBar, TextPlacesAndTheSizeGrip) {
    const QRect area(2, 2, 298, 17);
    // (17 − 13) div 2 − 1 = 1 below the top.
    EXPECT_EQ(StatusTextRect(area, {60, 13}, TextAlignment::Left), QRect(2, 3, 298, 13));
    EXPECT_EQ(StatusTextRect(area, {60, 13}, TextAlignment::Right), QRect(2, 3, 298, 13));
    EXPECT_EQ(StatusTextRect(area, {60, 13}, TextAlignment::Center), QRect(121, 3, 60, 13));
    // The grip's right and bottom edges one pixel inside the bar's.
    EXPECT_EQ(StatusGripRect({600, 19}, {16, 16}), QRect(583, 2, 16, 16));
}

TEST(GroupBox, TwelvePixelFontPutsTheTopLineAtFive) {
    const GroupBoxPlace box = GroupBoxGeometry({200, 80}, 12, {48, 14}, false);
    EXPECT_EQ(box.top, 5);
    EXPECT_EQ(box.outline, QRect(1, 5, 198, 74));
    EXPECT_EQ(box.cover, QRect(0, 5, 200, 75));
    EXPECT_EQ(box.caption, QRect(8, 0, 48, 14));
    EXPECT_EQ(GroupBoxGeometry({200, 80}, 13, {48, 14}, false).top, 5);
    EXPECT_EQ(GroupBoxGeometry({200, 80}, 16, {48, 14}, false).top, 7);
}

TEST(GroupBox, RightToLeftCaptionEightPixelsFromTheRight) {
    const GroupBoxPlace box = GroupBoxGeometry({200, 80}, 12, {48, 14}, true);
    EXPECT_EQ(box.caption, QRect(144, 0, 48, 14));
    EXPECT_EQ(box.text, box.caption);
    EXPECT_EQ(200 - (box.caption.right() + 1), 8);
}

TEST(GroupBox, ACheckBoxLeadsTheCaptionOnItsLine) {
    // 13 × 13 before a 48 × 17 caption: the check 2 pixels down, the text 3
    // pixels after it; the opaque box covers both.
    GroupBoxPlace box = GroupBoxGeometry({200, 80}, 12, {48, 17}, false, {13, 13});
    EXPECT_EQ(box.check, QRect(8, 2, 13, 13));
    EXPECT_EQ(box.text, QRect(24, 0, 48, 17));
    EXPECT_EQ(box.caption, QRect(8, 0, 64, 17));
    EXPECT_EQ(box.top, 5);
    // At the right: the check 8 pixels from the edge, the text before it.
    box = GroupBoxGeometry({200, 80}, 12, {48, 17}, true, {13, 13});
    EXPECT_EQ(box.check, QRect(179, 2, 13, 13));
    EXPECT_EQ(box.text, QRect(128, 0, 48, 17));
    // A caption lower than the check is centred on it.
    EXPECT_EQ(GroupBoxGeometry({200, 80}, 8, {30, 9}, false, {13, 13}).text, QRect(24, 2, 30, 9));

    EXPECT_EQ(GroupCheckFrame(false, true, false, false), 1);
    EXPECT_EQ(GroupCheckFrame(true, true, false, false), 5);
    EXPECT_EQ(GroupCheckFrame(true, true, true, false), 6);
    EXPECT_EQ(GroupCheckFrame(false, true, true, true), 3);
    EXPECT_EQ(GroupCheckFrame(false, true, false, true), 1) << "pressed elsewhere";
    EXPECT_EQ(GroupCheckFrame(true, false, true, true), 8);
}

TEST(Tabs, SelectedBeforeHotAndDisabledOverAll) {
    EXPECT_EQ(TabFrame(false, false, true), 1);
    EXPECT_EQ(TabFrame(true, false, true), 2);
    EXPECT_EQ(TabFrame(true, true, true), 2);
    EXPECT_EQ(TabFrame(false, true, true), 3);
    EXPECT_EQ(TabFrame(true, false, false), 4);
    EXPECT_EQ(TabBodyMargins(0, {2, 2, 2, 2}), (Margins{4, 5, 4, 4}));
    EXPECT_EQ(TabBodyMargins(1, {2, 3, 2, 2}), (Margins{2, 3, 2, 2}));
}

TEST(Tabs, TopAndBottomStrips) {
    const QSize control(200, 150);
    const QRect top = TabBodyRect({4, 26, 192, 120}, TabPosition::Top);
    EXPECT_EQ(top, QRect(0, 23, 200, 127));
    const QRect topStrip = TabStripRect(control, top, TabPosition::Top);
    EXPECT_EQ(topStrip, QRect(0, 0, 200, 23));
    EXPECT_EQ(TabStripImageSize(topStrip, TabPosition::Top), QSize(200, 23));
    const QRect topTab = TabInStrip({2, 2, 60, 20}, TabPosition::Top, top, control, {200, 23});
    EXPECT_EQ(topTab, QRect(2, 3, 60, 20));
    EXPECT_EQ(TabCloseBox(topTab), QRect(54, 5, 6, 6));

    const QRect bottom = TabBodyRect({4, 4, 192, 120}, TabPosition::Bottom);
    EXPECT_EQ(bottom, QRect(0, 0, 200, 127));
    EXPECT_EQ(TabStripRect(control, bottom, TabPosition::Bottom), QRect(0, 127, 200, 23));
    EXPECT_EQ(TabInStrip({2, 128, 60, 20}, TabPosition::Bottom, bottom, control, {200, 23}),
              QRect(2, 0, 60, 20));
}

namespace {

// Paints the tab's strip rectangle white in a black strip picture, turns the
// picture as the position asks, and gives back where the white landed.
QRect landed(const QRect& inStrip, QSize stripImage, TabPosition position) {
    QImage strip(stripImage, QImage::Format_RGB32);
    strip.fill(Qt::black);
    for (int y = inStrip.top(); y <= inStrip.bottom(); ++y)
        for (int x = inStrip.left(); x <= inStrip.right(); ++x)
            strip.setPixel(x, y, qRgb(255, 255, 255));
    if (position == TabPosition::Left)
        RotateLeft(strip);
    else
        RotateRight(strip);
    QRect white;
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x)
            if (strip.pixel(x, y) == qRgb(255, 255, 255))
                white |= QRect(x, y, 1, 1);
    return white;
}

} // namespace

TEST(Tabs, LeftAndRightStripsAreDrawnTurnedAndTurnedBack) {
    const QSize control(200, 150);
    const QRect left = TabBodyRect({30, 4, 166, 142}, TabPosition::Left);
    EXPECT_EQ(left, QRect(27, 0, 173, 150));
    const QRect leftStrip = TabStripRect(control, left, TabPosition::Left);
    EXPECT_EQ(leftStrip, QRect(0, 0, 27, 150));
    const QSize leftImage = TabStripImageSize(leftStrip, TabPosition::Left);
    EXPECT_EQ(leftImage, QSize(150, 27));
    const QRect leftTab = TabInStrip({2, 2, 24, 60}, TabPosition::Left, left, control, leftImage);
    EXPECT_EQ(leftTab, QRect(88, 2, 60, 24));
    EXPECT_EQ(landed(leftTab, leftImage, TabPosition::Left), QRect(2, 2, 24, 60))
        << "turned left, the tab lands on its own rectangle";

    const QRect right = TabBodyRect({4, 4, 166, 142}, TabPosition::Right);
    EXPECT_EQ(right, QRect(0, 0, 173, 150));
    const QRect rightStrip = TabStripRect(control, right, TabPosition::Right);
    EXPECT_EQ(rightStrip, QRect(173, 0, 27, 150));
    const QSize rightImage = TabStripImageSize(rightStrip, TabPosition::Right);
    const QRect rightTab =
        TabInStrip({174, 2, 24, 60}, TabPosition::Right, right, control, rightImage);
    EXPECT_EQ(rightTab, QRect(1, 2, 60, 24));
    // Turned right, it lands one pixel above its rectangle, in strip coordinates.
    EXPECT_EQ(landed(rightTab, rightImage, TabPosition::Right).translated(rightStrip.topLeft()),
              QRect(174, 1, 24, 60));
}

TEST(Tabs, APressClosesOnlyTheFirstTabWhoseBoxHoldsIt) {
    const std::vector<QRect> boxes = {{54, 5, 6, 6}, {56, 5, 6, 6}, {114, 5, 6, 6}};
    EXPECT_EQ(TabCloseBoxAt(boxes, {57, 7}), 0);
    EXPECT_EQ(TabCloseBoxAt(boxes, {61, 7}), 1);
    EXPECT_EQ(TabCloseBoxAt(boxes, {116, 10}), 2);
    EXPECT_EQ(TabCloseBoxAt(boxes, {62, 7}), -1);
    EXPECT_EQ(TabCloseBoxAt({}, {57, 7}), -1);
}

TEST(Tabs, ImagesAreFlippedForBottomAndTheBodyTurnedForTheSides) {
    QImage tabs(1, 2, QImage::Format_RGB32);
    tabs.setPixel(0, 0, qRgb(1, 0, 0));
    tabs.setPixel(0, 1, qRgb(2, 0, 0));
    QImage body(2, 1, QImage::Format_RGB32);
    body.setPixel(0, 0, qRgb(10, 0, 0));
    body.setPixel(1, 0, qRgb(20, 0, 0));

    const TabImages bottom = PrepareTabImages(tabs, body, TabPosition::Bottom);
    EXPECT_EQ(bottom.tabs.format(), QImage::Format_RGB888);
    EXPECT_EQ(qRed(bottom.tabs.pixel(0, 0)), 2);
    EXPECT_EQ(qRed(bottom.body.pixel(0, 0)), 10) << "one row flipped is itself";

    const TabImages left = PrepareTabImages(tabs, body, TabPosition::Left);
    EXPECT_EQ(qRed(left.tabs.pixel(0, 0)), 1) << "the tabs are turned with the strip instead";
    ASSERT_EQ(left.body.size(), QSize(1, 2));
    EXPECT_EQ(qRed(left.body.pixel(0, 0)), 20);
    EXPECT_EQ(qRed(left.body.pixel(0, 1)), 10);

    const TabImages right = PrepareTabImages(tabs, body, TabPosition::Right);
    ASSERT_EQ(right.body.size(), QSize(1, 2));
    EXPECT_EQ(qRed(right.body.pixel(0, 0)), 10);
    EXPECT_EQ(qRed(right.body.pixel(0, 1)), 20);

    EXPECT_TRUE(PrepareTabImages(QImage(), QImage(), TabPosition::Bottom).tabs.isNull());
}
