#include "letter_pictures.h"
#include "skin/data/skin_paint.h"

#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

using namespace skin;

namespace {

// A canvas of dots, painted by `paint`, read back as letters.
template <typename Paint> QStringList onCanvas(int width, int height, Paint paint) {
    QImage canvas(width, height, QImage::Format_RGB32);
    canvas.fill(letterColour('.'));
    QPainter painter(&canvas);
    paint(painter);
    painter.end();
    return lettersOf(canvas);
}

// A 3 × 3 frame with nine different pieces.
const QImage nine = letters({"abc", "def", "ghi"});

} // namespace

TEST(StretchFrame, CopiesCornersAndStretchesEdgesAndCentre) {
    EXPECT_EQ(lettersOf(StretchFrame({5, 4}, nine, {1, 1, 1, 1}, false, false, 1, 1)),
              QStringList({"abbbc", "deeef", "deeef", "ghhhi"}));
    // Shrinking drops rows and columns: 6 source columns onto 3 take 1, 3 and 5.
    EXPECT_EQ(lettersOf(StretchFrame({3, 1}, letters({"ABCDEF"}), {}, false, false, 1, 1)),
              QStringList({"BDF"}));
}

TEST(StretchFrame, DropsMarginsPairwiseWhenTheyDoNotFit) {
    // Exactly left + right wide keeps both margins: only the corners and edges show.
    EXPECT_EQ(lettersOf(StretchFrame({2, 3}, nine, {1, 1, 1, 1}, false, false, 1, 1)),
              QStringList({"ac", "df", "gi"}));
    // One pixel less drops left and right, and the whole width is stretched;
    // top and bottom still fit and stay.
    EXPECT_EQ(lettersOf(StretchFrame({1, 3}, nine, {1, 1, 1, 1}, false, false, 1, 1)),
              QStringList({"b", "e", "h"}));
    EXPECT_EQ(lettersOf(StretchFrame({3, 1}, nine, {1, 1, 1, 1}, false, false, 1, 1)),
              QStringList({"def"}));
}

TEST(StretchFrame, TilesTheCentreAndCutsTheOverflow) {
    // Frame 2 of a vertical stack; frame 1 must not show anywhere.
    const QImage stack = letters({"zzzz", "zzzz", "zzzz", "atuc", "dxyf", "gvwi"});
    EXPECT_EQ(lettersOf(StretchFrame({7, 4}, stack, {1, 1, 1, 1}, true, true, 2, 2)),
              QStringList({"attuuuc", "dxyxyxf", "dxyxyxf", "gvvwwwi"}));
}

TEST(StretchFrame, SelectsFramesWithoutReadingPastTheBitmap) {
    // 103 columns in 4 frames: frames are 25 wide and columns 100..102 are never used.
    QImage strip(103, 1, QImage::Format_RGB32);
    for (int x = 0; x < 103; ++x)
        strip.setPixel(x, 0, qRgb(x, 0, 0));
    auto columns = [&](int frame) {
        const QImage out = StretchFrame({25, 1}, strip, {}, false, false, 4, frame);
        return std::pair(qRed(out.pixel(0, 0)), qRed(out.pixel(24, 0)));
    };
    EXPECT_EQ(columns(1), std::pair(0, 24));
    EXPECT_EQ(columns(4), std::pair(75, 99));
    // Frame numbers outside 1..4 take the nearest frame.
    EXPECT_EQ(columns(9), std::pair(75, 99));
    EXPECT_EQ(columns(0), std::pair(0, 24));
    EXPECT_EQ(FrameRect(strip, false, 4, 4), QRect(75, 0, 25, 1));

    // Margins larger than the frame are cut to it.
    EXPECT_EQ(lettersOf(StretchFrame({4, 1}, letters({"ab"}), {5, 0, 5, 0}, false, false, 1, 1)),
              QStringList({"ab??"}))
        << "the margins fill the frame; the centre has nothing to stretch and stays black";
}

TEST(DrawFrame, LeavesMagentaOutOnlyWhenTransparent) {
    const QImage frame = letters({"aMb"});
    EXPECT_EQ(onCanvas(5, 2,
                       [&](QPainter& p) {
                           DrawFrame(p, QRect(1, 0, 3, 1), frame, false, false, true, 1, 1, {});
                           DrawFrame(p, QRect(1, 1, 3, 1), frame, false, false, false, 1, 1, {});
                       }),
              QStringList({".a.b.", ".aMb."}));
    // Inverted rectangles draw nothing.
    EXPECT_EQ(onCanvas(3, 1,
                       [&](QPainter& p) {
                           DrawFrame(p, QRect(2, 0, -1, 1), frame, false, false, false, 1, 1, {});
                           DrawMasked(p, QRect(0, 0, 2, -1), frame);
                       }),
              QStringList({"..."}));
}

TEST(DrawElementFrame, TakesMarginsTileAndTransFromTheElement) {
    TDataSkinObject element;
    element.Image = letters({"zzzz", "aMxb"}).copy(0, 1, 4, 1); // one frame "aMxb"
    element.setMargins({1, 0, 1, 0});
    element.Tile = 1;
    element.Trans = 1;
    auto paint = [&] {
        return onCanvas(
            6, 1, [&](QPainter& p) { DrawElementFrame(p, QRect(0, 0, 6, 1), 1, 1, element); });
    };
    EXPECT_EQ(paint(), QStringList({"a.x.xb"}));
    element.Trans = 2; // only 1 means transparent
    EXPECT_EQ(paint(), QStringList({"aMxMxb"}));
    element.Tile = 0;
    EXPECT_EQ(paint(), QStringList({"aMMxxb"}));
}

TEST(DrawMasked, CopiesOneToOneClippedToTheRectangle) {
    const QImage bitmap = letters({"abM", "McM"});
    const QStringList expected = {"....", ".ab.", "..c.", "...."};
    // Straight into the picture, and through a painter that is not a plain offset.
    EXPECT_EQ(onCanvas(4, 4, [&](QPainter& p) { DrawMasked(p, QRect(1, 1, 2, 5), bitmap); }),
              expected);
    EXPECT_EQ(onCanvas(4, 4,
                       [&](QPainter& p) {
                           p.setClipRect(0, 0, 4, 4);
                           DrawMasked(p, QRect(1, 1, 2, 5), bitmap);
                       }),
              expected);
}

TEST(DrawMasked, DrawsInLogicalPixelsIntoAPictureOfRatioTwo) {
    // Each logical pixel is 2 × 2 device pixels.
    QImage canvas(8, 8, QImage::Format_RGB32);
    canvas.fill(letterColour('.'));
    canvas.setDevicePixelRatio(2);
    QPainter painter(&canvas);
    DrawMasked(painter, QRect(1, 1, 2, 2), letters({"aM", "bc"}));
    painter.end();
    canvas.setDevicePixelRatio(1);
    EXPECT_EQ(lettersOf(canvas), QStringList({"........", "........", "..aa....", "..aa....",
                                              "..bbcc..", "..bbcc..", "........", "........"}));
}

TEST(DrawHorzBar, RepeatsTheMiddleBetweenTheEnds) {
    // Middle "mn" from x = 1 while x < 6; the right end is drawn last at x = 6.
    EXPECT_EQ(onCanvas(7, 2,
                       [&](QPainter& p) {
                           DrawHorzBar(p, QRect(0, 0, 7, 2), letters({"amnc"}), false, false, 1, 1,
                                       {1, 0, 1, 0});
                       }),
              QStringList({"amnmnmc", "amnmnmc"}));
    // Frame 2 of a vertical stack, magenta left out.
    EXPECT_EQ(onCanvas(5, 1,
                       [&](QPainter& p) {
                           DrawHorzBar(p, QRect(0, 0, 5, 1), letters({"zzz", "aMc"}), true, true, 2,
                                       2, {1, 0, 1, 0});
                       }),
              QStringList({"a...c"}));
}

TEST(DrawFrameThreePart, StretchesTheMiddleOrTheWholeFrame) {
    const QImage frame = letters({"amnc"});
    EXPECT_EQ(
        onCanvas(6, 1,
                 [&](QPainter& p) {
                     DrawFrameThreePart(p, QRect(0, 0, 6, 1), frame, false, 1, 1, {1, 0, 1, 0});
                 }),
        QStringList({"ammnnc"}));
    // Narrower than the frame: the whole frame squeezed into three columns.
    EXPECT_EQ(
        onCanvas(3, 1,
                 [&](QPainter& p) {
                     DrawFrameThreePart(p, QRect(0, 0, 3, 1), frame, false, 1, 1, {1, 0, 1, 0});
                 }),
        QStringList({"anc"}));
}

TEST(DrawFrameScaledAndCentered, PlaceFramesOfAStrip) {
    const QImage strip = letters({"abAB", "cdCD"});
    EXPECT_EQ(
        onCanvas(5, 5,
                 [&](QPainter& p) { DrawFrameCentered(p, QRect(0, 0, 5, 5), strip, false, 2, 2); }),
        QStringList({".....", ".AB..", ".CD..", ".....", "....."}));
    EXPECT_EQ(
        onCanvas(4, 2,
                 [&](QPainter& p) { DrawFrameScaled(p, QRect(0, 0, 4, 2), strip, false, 2, 1); }),
        QStringList({"aabb", "ccdd"}));
}

TEST(TileImage, CoversTheTargetAndNothingElse) {
    const QImage picture = letters({"zab", "zcd"});
    EXPECT_EQ(onCanvas(7, 4,
                       [&](QPainter& p) {
                           TileImage(p, QRect(1, 0, 5, 3), picture, QRect(1, 0, 2, 2));
                           TileImage(p, QRect(0, 3, 7, 1), picture, QRect(3, 0, 0, 2));
                       }),
              QStringList({".ababa.", ".cdcdc.", ".ababa.", "......."}));
}

TEST(RegionFromBitmap, GivesOneRectanglePerRunOfOpaquePixels) {
    const QImage bitmap = letters({"MabMc", "MMMMM", "aMMMb"});
    const QRegion region = RegionFromBitmap(bitmap, 10, 20, 0, 0, 0, Magenta);
    const QList<QRect> expected = {QRect(11, 20, 2, 1), QRect(14, 20, 1, 1), QRect(10, 22, 1, 1),
                                   QRect(14, 22, 1, 1)};
    EXPECT_EQ(QList<QRect>(region.begin(), region.end()), expected);

    // A range widens the transparent colours: (250, 0, 250) up to +10 takes in
    // magenta and (252, 3, 255), not (252, 11, 255).
    QImage near(3, 1, QImage::Format_RGB32);
    near.setPixel(0, 0, qRgb(255, 0, 255));
    near.setPixel(1, 0, qRgb(252, 3, 255));
    near.setPixel(2, 0, qRgb(252, 11, 255));
    const QRegion widened = RegionFromBitmap(near, 0, 0, 10, 10, 10, rgb(250, 0, 250));
    EXPECT_EQ(QList<QRect>(widened.begin(), widened.end()), QList<QRect>({QRect(2, 0, 1, 1)}));
}

TEST(RegionFromBitmap, GathersManyRunsIntoOneRegion) {
    // 4500 single-pixel runs, more than two batches.
    QImage checker(90, 100, QImage::Format_RGB32);
    for (int y = 0; y < checker.height(); ++y)
        for (int x = 0; x < checker.width(); ++x)
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(255, 0, 255) : qRgb(0, 0, 0));
    const QRegion region = RegionFromBitmap(checker, 0, 0, 0, 0, 0, Magenta);
    EXPECT_EQ(region.rectCount(), 4500);
    for (const QPoint& at : {QPoint(0, 0), QPoint(89, 99), QPoint(45, 55), QPoint(2, 60)})
        EXPECT_TRUE(region.contains(at)) << at.x() << "," << at.y();
    for (const QPoint& at : {QPoint(1, 0), QPoint(88, 99), QPoint(45, 54)})
        EXPECT_FALSE(region.contains(at)) << at.x() << "," << at.y();
}

namespace {
// A parent that paints one letter per column of its own.
class StripedParent : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const char columns[] = "ABCDEFGHIJ";
        for (int x = 0; x < width(); ++x)
            painter.fillRect(x, 0, 1, height(), QColor(letterColour(columns[x % 10])));
    }
};
} // namespace

TEST(PaintParentBackground, ShowsWhatTheParentShowsBehindTheControl) {
    StripedParent parent;
    parent.resize(10, 6);
    QWidget child(&parent);
    child.setGeometry(3, 2, 4, 3);
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(letterColour('.'));
    QPainter painter(&picture);
    PaintParentBackground(&child, painter);
    painter.end();
    EXPECT_EQ(lettersOf(picture), QStringList({"DEFG", "DEFG", "DEFG"}));

    QWidget orphan;
    QPainter other(&picture);
    PaintParentBackground(&orphan, other); // no parent: nothing, no crash
}
