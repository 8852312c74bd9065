#include "app/own_skin.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"
#include "skin/engine/controls/scroll_bar_skins.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/control_kinds.h"
#include "skin/engine/manager/control_traversal.h"

#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QPointer>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace skin;

namespace {

QRgb toRgb(SkinColor c) {
    const SkinColor v = ColorToRGB(c);
    return qRgb(redOf(v), greenOf(v), blueOf(v));
}

QRgb opaque(QRgb c) {
    return c | 0xFF000000;
}

// One frame of a horizontal strip.
QImage frameOf(const TDataSkinObject& element, int count, int frame) {
    return element.Image.copy(FrameRect(element.Image, false, count, frame))
        .convertToFormat(QImage::Format_RGB32);
}

// Is the row of the picture one of the rows of the frame's stretched middle?
bool rowFromMiddleOf(const QImage& picture, int y, const QImage& frame, int top, int bottom) {
    for (int row = top; row < frame.height() - bottom; ++row) {
        bool same = true;
        for (int x = 0; x < frame.width() && same; ++x)
            if ((frame.pixel(x, row) & 0xFFFFFF) != 0xFF00FF)
                same = opaque(picture.pixel(x, y)) == opaque(frame.pixel(x, row));
        if (same)
            return true;
    }
    return false;
}

// The pixel and those above and below it are one colour (the bars stretch
// their pictures along their length only).
bool uniformAround(const QImage& image, QPoint p) {
    if (!QRect(0, 1, image.width(), image.height() - 2).contains(p))
        return false;
    const QRgb c = image.pixel(p);
    if ((c & 0xFFFFFF) == 0xFF00FF)
        return false;
    return image.pixel(p + QPoint(0, -1)) == c && image.pixel(p + QPoint(0, 1)) == c;
}

// A point where both frames are one colour along the bar, different in each,
// so that a picture stretched by a pixel shows which of the two is drawn.
QPoint telling(const QImage& a, const QImage& b) {
    for (int y = 1; y < a.height() - 1; ++y)
        for (int x = 0; x < a.width(); ++x)
            if (uniformAround(a, {x, y}) && uniformAround(b, {x, y}) &&
                a.pixel(x, y) != b.pixel(x, y))
                return {x, y};
    return {-1, -1};
}

class ScrollBarSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerBuiltKinds();
        mData.setSkinStream(app::ownSkinPackage());
        ASSERT_TRUE(mData.skinLoaded());
        mWindow.setObjectName(QStringLiteral("TForm5"));
        auto* layout = new QVBoxLayout(&mWindow);
        mModel.setRowCount(200);
        mModel.setColumnCount(2);
        for (int row = 0; row < 200; ++row)
            mModel.setItem(row, 0, new QStandardItem(QString::number(row)));
        mGrid = new QTableView;
        mGrid->setModel(&mModel);
        layout->addWidget(mGrid);
        mWindow.resize(260, 600);
        mWindow.show();
        mForm.setWindow(&mWindow, 0, QStringLiteral("TForm5"));
        mForm.SetupFrameworkForm(&mData, &mWindow);
        SkinFormControls(mForm);
        QApplication::processEvents();
        mBar = mGrid->verticalScrollBar();
    }
    void TearDown() override { registerSkinKind(SkinKind::SkinScrollbar, {}); }

    const TDataSkinObject& element(SkinElement which) {
        const TDataSkinObject* e = mData.element(which);
        EXPECT_NE(e, nullptr);
        return *e;
    }
    QImage parts(int frame) { return frameOf(element(SkinElement::Scrollbar), 23, frame); }
    QImage track(int frame) { return frameOf(element(SkinElement::VertScroll), 4, frame); }
    QImage thumb(int frame) { return frameOf(element(SkinElement::VertScrollThumb), 3, frame); }

    QImage shot() { return mBar->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // The frame's pixel at `p` where a 16-long frame is drawn `length` long at `start`.
    static QPoint along(QPoint p, int start, int length, int frameLength) {
        return {p.x(), start + p.y() * length / frameLength};
    }
    // Is the bar's down arrow drawn from `frame` rather than `other`?
    bool downArrowIs(int frame, int other) {
        const QImage a = parts(frame), b = parts(other);
        const QPoint p = telling(a, b);
        EXPECT_GE(p.x(), 0);
        return opaque(shot().pixel(along(p, mBar->height() - 17, 17, 16))) == opaque(a.pixel(p));
    }
    TWScrollbar* skin() { return TWScrollbar::of(mBar); }
    QPoint downArrow() const { return {8, mBar->height() - 8}; }

    TSkinData mData;
    QWidget mWindow;
    QStandardItemModel mModel;
    QTableView* mGrid = nullptr;
    QScrollBar* mBar = nullptr;
    TWinSkinForm mForm{nullptr};
};

} // namespace

TEST_F(ScrollBarSkinTest, GridWithManyRowsShowsTheSkinsBarAndTheThumbFollows) {
    ASSERT_NE(dynamic_cast<TSkinScrollbar*>(TSkinControl::skinObjectOf(mGrid)), nullptr);
    ASSERT_NE(skin(), nullptr);
    ASSERT_TRUE(mBar->isVisible());
    EXPECT_EQ(mBar->width(), 16) << "the Scrollbar picture's height";

    // The grid's border: ButtonShadow with the skin colour inside it.
    const QImage grid = mGrid->grab().toImage();
    EXPECT_EQ(opaque(grid.pixel(0, 40)),
              opaque(QColor(toRgb(mData.colour(colour::ButtonShadow))).rgb()));
    EXPECT_EQ(opaque(grid.pixel(1, 40)),
              opaque(QColor(toRgb(mData.colour(colour::ButtonFace))).rgb()));

    const QImage bar = shot();
    const QPoint up = telling(parts(9), parts(10));
    EXPECT_EQ(opaque(bar.pixel(along(up, 0, 17, 16))), opaque(parts(9).pixel(up)));
    const QPoint down = telling(parts(13), parts(14));
    EXPECT_EQ(opaque(bar.pixel(along(down, mBar->height() - 17, 17, 16))),
              opaque(parts(13).pixel(down)));

    // The thumb at the top, the track below it.
    const int length = skin()->ThumbEnd - skin()->ThumbStart;
    EXPECT_EQ(skin()->ThumbStart, 17);
    ASSERT_GE(length, 12) << "long enough for the thumb's margins";
    auto isThumb = [&](const QImage& picture, int y) {
        return rowFromMiddleOf(picture, y, thumb(1), 5, 5);
    };
    const QRgb trackFace = opaque(track(1).pixel(8, 8));
    EXPECT_TRUE(isThumb(bar, 17 + 6));
    const int middle = mBar->height() / 2;
    EXPECT_EQ(opaque(bar.pixel(8, middle)), trackFace);
    EXPECT_FALSE(isThumb(bar, middle));

    // Halfway down the thumb is in the middle of the track.
    mBar->setValue(mBar->maximum() / 2);
    const QImage halfway = shot();
    EXPECT_NEAR((skin()->ThumbStart + skin()->ThumbEnd) / 2, middle, 2);
    EXPECT_TRUE(isThumb(halfway, skin()->ThumbStart + 6));
    EXPECT_FALSE(isThumb(halfway, 17 + 6));
    EXPECT_EQ(opaque(halfway.pixel(8, 17 + 6)), trackFace);
}

TEST_F(ScrollBarSkinTest, ArrowShowsMouseOverAndPressedFramesAndStillScrolls) {
    EXPECT_TRUE(downArrowIs(13, 16));
    QTest::mouseMove(mBar, downArrow());
    QMouseEvent move(QEvent::MouseMove, downArrow(), mBar->mapToGlobal(downArrow()), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(mBar, &move);
    EXPECT_EQ(skin()->HotPart, 1);
    EXPECT_TRUE(downArrowIs(16, 13)) << "mouse over";

    QTest::mousePress(mBar, Qt::LeftButton, Qt::NoModifier, downArrow());
    EXPECT_TRUE(skin()->Pressed);
    EXPECT_TRUE(downArrowIs(14, 16)) << "pressed";
    QTest::mouseRelease(mBar, Qt::LeftButton, Qt::NoModifier, downArrow());
    EXPECT_FALSE(skin()->Pressed);
    EXPECT_EQ(mBar->value(), mBar->singleStep()) << "the bar made its own step";
    EXPECT_TRUE(downArrowIs(16, 14));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(mBar, &leave);
    EXPECT_EQ(skin()->HotPart, -1);
    EXPECT_TRUE(downArrowIs(13, 16));
}

TEST_F(ScrollBarSkinTest, PageClickThumbDragAndWheelStillScroll) {
    const int middle = mBar->height() / 2;
    QTest::mouseClick(mBar, Qt::LeftButton, Qt::NoModifier, QPoint(8, middle));
    EXPECT_EQ(mBar->value(), mBar->pageStep()) << "a page after the thumb";

    // The thumb follows the cursor and the grid scrolls with it.
    mBar->setValue(0);
    shot();
    const int grab = (skin()->ThumbStart + skin()->ThumbEnd) / 2;
    QTest::mousePress(mBar, Qt::LeftButton, Qt::NoModifier, QPoint(8, grab));
    EXPECT_EQ(skin()->HotPart, 5);
    QMouseEvent move(QEvent::MouseMove, QPointF(8, grab + 60),
                     mBar->mapToGlobal(QPointF(8, grab + 60)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(mBar, &move);
    EXPECT_GT(mBar->value(), 0);
    EXPECT_GT(mGrid->rowAt(0), 0);
    QTest::mouseRelease(mBar, Qt::LeftButton, Qt::NoModifier, QPoint(8, grab + 60));
    const int dragged = mBar->value();

    QWheelEvent wheel(QPointF(20, 20), mGrid->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(mGrid->viewport(), &wheel);
    EXPECT_GT(mBar->value(), dragged);
}

TEST_F(ScrollBarSkinTest, DisabledBarShowsTrackFrameThreeAndNoThumb) {
    mGrid->setEnabled(false);
    const QImage bar = shot();
    const QRgb disabledTrack = opaque(track(3).pixel(8, 8));
    ASSERT_NE(disabledTrack, opaque(track(1).pixel(8, 8)));
    EXPECT_EQ(opaque(bar.pixel(8, 20)), disabledTrack) << "where the thumb was";
    EXPECT_EQ(opaque(bar.pixel(8, mBar->height() / 2)), disabledTrack);
    const QPoint up = telling(parts(9), parts(11));
    EXPECT_EQ(opaque(bar.pixel(along(up, 0, 17, 16))), opaque(parts(9).pixel(up)))
        << "arrows keep their normal frames";
}

TEST_F(ScrollBarSkinTest, UnskinGivesTheBarsTheirOwnLook) {
    TSkinControl* object = TSkinControl::skinObjectOf(mGrid);
    ASSERT_NE(object, nullptr);
    const QTableView plain;
    EXPECT_EQ(mGrid->frameWidth(), 2) << "room for the skin's two rings";
    object->Unskin();
    EXPECT_EQ(mGrid->frameWidth(), plain.frameWidth());
    EXPECT_EQ(mGrid->frameStyle(), plain.frameStyle());
    EXPECT_EQ(TWScrollbar::of(mBar), nullptr);
    EXPECT_EQ(mBar->style(), QApplication::style());
}

TEST_F(ScrollBarSkinTest, ABarTheControlReplacesIsSkinnedByANewObject) {
    const QPointer<TSkinControl> old = TSkinControl::skinObjectOf(mGrid);
    ASSERT_NE(old, nullptr);
    auto* replacement = new QScrollBar(Qt::Vertical);
    mGrid->setVerticalScrollBar(replacement);
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull()) << "the old object is freed";

    int objects = 0;
    for (const QPointer<TSkinControl>& object : mForm.skinObjects())
        objects += object && object->Handle == mGrid;
    EXPECT_EQ(objects, 1);
    EXPECT_NE(dynamic_cast<TSkinScrollbar*>(TSkinControl::skinObjectOf(mGrid)), nullptr);
    EXPECT_NE(TWScrollbar::of(mGrid->horizontalScrollBar()), nullptr);
    EXPECT_EQ(mGrid->frameWidth(), 2) << "the border is the skin's, once";

    mBar = replacement;
    ASSERT_NE(skin(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([this] { return mBar->width() == 16; }, 1000))
        << "the grid lays itself out for the skin's thickness";
    EXPECT_TRUE(downArrowIs(13, 16)) << "the new bar shows the skin's arrow";
}

TEST_F(ScrollBarSkinTest, ComboDropDownListShowsTheSkinnedBarAndItsThumbDrags) {
    QComboBox combo(&mWindow);
    for (int i = 0; i < 100; ++i)
        combo.addItem(QString::number(i));
    combo.show();
    TSkinControl owner(&combo);
    owner.SkinData = &mData;
    ASSERT_NE(TComboxScrollBar::AttachListBar(&combo, &owner), nullptr);
    combo.showPopup();
    QApplication::processEvents();
    mBar = combo.view()->verticalScrollBar();
    ASSERT_TRUE(mBar->isVisible());
    EXPECT_TRUE(downArrowIs(13, 14));

    const int grab = (skin()->ThumbStart + skin()->ThumbEnd) / 2;
    QTest::mousePress(mBar, Qt::LeftButton, Qt::NoModifier, QPoint(8, grab));
    QMouseEvent move(QEvent::MouseMove, QPointF(8, mBar->height()),
                     mBar->mapToGlobal(QPointF(8, mBar->height())), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(mBar, &move);
    EXPECT_EQ(mBar->value(), mBar->maximum()) << "dragged past the end stops at the last page";
    EXPECT_FALSE(skin()->Pressed) << "the list's bar has no pressed part";
    EXPECT_EQ(skin()->HotPart, -1);
    QTest::mouseRelease(mBar, Qt::LeftButton, Qt::NoModifier, QPoint(8, mBar->height()));
    combo.hidePopup();
}
