#include "app/own_skin.h"
#include "sales/export_progress.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"
#include "skin/engine/controls/button_skins.h"
#include "skin/engine/controls/control_geometry.h"
#include "skin/engine/controls/progress_skin.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/control_kinds.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <cmath>

#include <gtest/gtest.h>

using namespace skin;

namespace {

QRgb opaque(QRgb p) {
    return p | 0xFF000000;
}

class ButtonSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        mData.setSkinStream(app::ownSkinPackage());
        mWindow.setObjectName(QStringLiteral("TForm9"));
        auto* layout = new QVBoxLayout(&mWindow);
        mOther = new QPushButton(QStringLiteral("刷新"));
        mButton = new QPushButton(QStringLiteral("添加"));
        mButton->setFixedSize(75, 25);
        layout->addWidget(mOther);
        layout->addWidget(mButton);
        mWindow.show();
        QApplication::setActiveWindow(&mWindow);
        mOther->setFocus();
        mForm.setWindow(&mWindow, 0, QStringLiteral("TForm9"));
        mForm.SetupFrameworkForm(&mData, &mWindow);
        mSkin = new TSkinButton(mButton);
        mSkin->Attach(&mForm, &mData, true, nullptr);
    }

    // The pixel the skin's Buttons frame has at (x, y) of a frame's corner,
    // or the skin colour where the frame is transparent.
    QRgb framePixel(int frame, int x, int y) const {
        const TDataSkinButton* e = mData.buttons();
        const QRect f = FrameRect(e->Image, false, 5, frame);
        const QRgb p = opaque(e->Image.pixel(f.x() + x, f.y() + y));
        if ((p & 0xFFFFFF) == 0xFF00FF) {
            const SkinColor c = ColorToRGB(mData.colour(colour::ButtonFace));
            return qRgb(redOf(c), greenOf(c), blueOf(c));
        }
        return p;
    }

    // The button's corners show frame `frame` pixel for pixel; at a device
    // pixel ratio r each skin pixel covers whole device pixels.
    void expectFrame(int frame) {
        const QImage shot = mButton->grab().toImage();
        const qreal r = shot.devicePixelRatio();
        const int w = mButton->width(), h = mButton->height();
        const QSize cell = FrameRect(mData.buttons()->Image, false, 5, frame).size();
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x) {
                const QPoint tl(static_cast<int>(std::ceil(x * r)),
                                static_cast<int>(std::ceil(y * r)));
                EXPECT_EQ(opaque(shot.pixel(tl)), framePixel(frame, x, y))
                    << "frame " << frame << " top-left " << x << "," << y;
                const QPoint br(static_cast<int>(std::ceil((w - 5 + x) * r)),
                                static_cast<int>(std::ceil((h - 5 + y) * r)));
                EXPECT_EQ(opaque(shot.pixel(br)),
                          framePixel(frame, cell.width() - 5 + x, cell.height() - 5 + y))
                    << "frame " << frame << " bottom-right " << x << "," << y;
            }
    }

    TSkinData mData;
    QWidget mWindow;
    QPushButton* mOther = nullptr;
    QPushButton* mButton = nullptr;
    TWinSkinForm mForm{nullptr};
    TSkinButton* mSkin = nullptr;
};

} // namespace

TEST_F(ButtonSkinTest, EachStateShowsItsFrameOfTheSkin) {
    expectFrame(1);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), mButton->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(mButton, &enter);
    expectFrame(4);
    QTest::mousePress(mButton, Qt::LeftButton);
    expectFrame(2);
    EXPECT_TRUE(mButton->hasFocus()) << "a press takes the focus";
    QTest::mouseRelease(mButton, Qt::LeftButton);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(mButton, &leave);
    expectFrame(5);
    mButton->setEnabled(false);
    expectFrame(3);
}

// Run at QT_SCALE_FACTOR 1, 1.5 and 2 (see CMakeLists.txt).
TEST_F(ButtonSkinTest, EveryDevicePixelOfTheEdgesIsOneOfTheSkinsColours) {
    QSet<QRgb> colours;
    const QSize cell = FrameRect(mData.buttons()->Image, false, 5, 1).size();
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            colours.insert(framePixel(1, x, y));
    const QImage shot = mButton->grab().toImage();
    const int edge = static_cast<int>(std::ceil(5 * shot.devicePixelRatio()));
    int blended = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const bool onEdge =
                x < edge || y < edge || x >= shot.width() - edge || y >= shot.height() - edge;
            if (onEdge && !colours.contains(opaque(shot.pixel(x, y))))
                ++blended;
        }
    EXPECT_EQ(blended, 0) << "at " << shot.devicePixelRatio() << " x";
}

TEST_F(ButtonSkinTest, AReleaseOverTheButtonClicksAndOneAfterLeavingItDoesNot) {
    QSignalSpy clicked(mButton, &QPushButton::clicked);
    QTest::mouseClick(mButton, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);

    QTest::mousePress(mButton, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(mButton, QPoint(200, 10));
    QMouseEvent off(QEvent::MouseMove, QPointF(200, 10), mButton->mapToGlobal(QPointF(200, 10)),
                    Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(mButton, &off);
    EXPECT_EQ(mSkin->MouseState & mousestate::Pressed, 0);
    // Back over it before the release: still not pressed.
    QMouseEvent back(QEvent::MouseMove, QPointF(10, 10), mButton->mapToGlobal(QPointF(10, 10)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(mButton, &back);
    QTest::mouseRelease(mButton, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicked.count(), 1);

    // Pressed, then released outside with no move in between.
    QTest::mousePress(mButton, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(mButton, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(mSkin->MouseState & mousestate::Pressed, 0);

    // The space key is the button's own and clicks once.
    QTest::keyClick(mButton, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 2);
}

TEST_F(ButtonSkinTest, SetActiveZeroShowsThePlainButtonAndUnskinGivesItsColoursBack) {
    const QPalette own = mOther->palette();
    const QImage skinned = mButton->grab().toImage();
    sendMessage(mButton, SM_SETACTIVE, 0, 0);
    EXPECT_NE(mButton->grab().toImage(), skinned);
    EXPECT_EQ(mButton->palette(), own) << "the plain button's own colours";
    sendMessage(mButton, SM_SETACTIVE, 1, 0);
    EXPECT_EQ(mButton->grab().toImage(), skinned);
    mSkin->Unskin();
    EXPECT_EQ(mButton->palette(), own);
}

TEST_F(ButtonSkinTest, TagFiveThousandFiveHundredFiftyFiveShowsTheParentBehind) {
    QPalette palette = mWindow.palette();
    palette.setColor(QPalette::Window, QColor(10, 200, 30));
    mWindow.setPalette(palette);
    mWindow.setAutoFillBackground(true);
    auto* tagged = new QPushButton(QStringLiteral("退出"), &mWindow);
    tagged->setProperty("Tag", 5555);
    tagged->setGeometry(0, 0, 75, 25);
    auto* skin = new TSkinButton(tagged);
    skin->Attach(&mForm, &mData, false, nullptr);
    ASSERT_TRUE(skin->Transparent);
    // The frame's transparent corner shows the window's green, not the skin colour.
    const QRect f = FrameRect(mData.buttons()->Image, false, 5, 1);
    ASSERT_EQ(opaque(mData.buttons()->Image.pixel(f.topLeft())) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_EQ(opaque(tagged->grab().toImage().pixel(0, 0)), qRgb(10, 200, 30));
}

TEST(BitButtonSkin, TheDisabledOneFrameGlyphIsEngraved) {
    QImage glyph(4, 4, QImage::Format_ARGB32);
    glyph.fill(Qt::transparent);
    glyph.setPixel(1, 1, qRgb(0, 0, 0));
    glyph.setPixel(2, 2, qRgb(250, 250, 250)); // light pixels drop out
    const QImage out = EmbossedGlyph(glyph, Qt::white, Qt::darkGray);
    EXPECT_EQ(out.pixel(1, 1), QColor(Qt::darkGray).rgb());
    EXPECT_EQ(out.pixel(2, 2), QColor(Qt::white).rgb());
    EXPECT_EQ(qAlpha(out.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(out.pixel(3, 3)), 0);
}

TEST(ProgressGeometry, TheFilledPartFollowsTheValueWithinTheRange) {
    const Margins m{4, 4, 4, 4};
    ProgressPlace p = ProgressGeometry(QSize(200, 16), 0, 50, 25, false, m);
    EXPECT_EQ(p.track, QRect(0, 0, 200, 16));
    EXPECT_EQ(p.filled, QRect(0, 0, 100, 16));
    EXPECT_EQ(p.chunks, QRect(4, 4, 92, 8));
    // Held to the range; an empty range or the minimum fill nothing.
    EXPECT_EQ(ProgressGeometry(QSize(200, 16), 0, 50, 80, false, m).filled.width(), 200);
    EXPECT_TRUE(ProgressGeometry(QSize(200, 16), 10, 50, 3, false, m).filled.isEmpty());
    EXPECT_TRUE(ProgressGeometry(QSize(200, 16), 5, 5, 5, false, m).filled.isEmpty());
    // A vertical bar fills from the bottom.
    p = ProgressGeometry(QSize(16, 100), 0, 4, 1, true, m);
    EXPECT_EQ(p.filled, QRect(0, 75, 16, 25));
}

// The bare dialogs: a message box's buttons and the export's progress bar.
TEST(DialogSkins, AMessageBoxsButtonsAndTheExportsBarAreSkinned) {
    TSkinData data;
    data.setSkinStream(app::ownSkinPackage());
    data.SkinControls = TSkinControlTypes::fromBits(0xFFFFFFFF);
    registerBuiltKinds();

    QMessageBox box(QMessageBox::Question, QStringLiteral("警告"), QStringLiteral("确定删除?"),
                    QMessageBox::Yes | QMessageBox::No);
    box.show();
    TWinSkinForm boxForm(nullptr);
    boxForm.setWindow(&box, 0, QStringLiteral("#32770"));
    boxForm.SetupBareWindow(&data);
    boxForm.finishSetup();
    QAbstractButton* no = box.button(QMessageBox::No);
    ASSERT_NE(qobject_cast<TSkinButton*>(boxForm.skinObjectFor(no)), nullptr);
    ASSERT_NE(qobject_cast<TSkinButton*>(boxForm.skinObjectFor(box.button(QMessageBox::Yes))),
              nullptr);
    // A bare window's click is posted, and still answers the box.
    QTest::mouseClick(no, Qt::LeftButton);
    EXPECT_TRUE(box.isVisible());
    QTRY_VERIFY(!box.isVisible());
    EXPECT_EQ(box.clickedButton(), no);

    sales::ExportProgress progress(QStringLiteral("正在导出..."), 40, 0, nullptr);
    progress.show();
    TWinSkinForm progressForm(nullptr);
    progressForm.setWindow(&progress, 0, QStringLiteral("#32770"));
    progressForm.SetupBareWindow(&data);
    progressForm.finishSetup();
    auto* bar = progress.findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(qobject_cast<TSkinProgress*>(progressForm.skinObjectFor(bar)), nullptr);
    bar->setTextVisible(false);
    progress.setValue(10);
    // The track's frame at the right, the filled frame at the left (their
    // centre pixels, away from the chunks).
    const TDataSkinObject& element = *data.element(SkinElement::Progress);
    auto centreOf = [&](int frame) {
        const QRect f = FrameRect(element.Image, false, ProgressFrames, frame);
        return opaque(element.Image.pixel(f.x() + f.width() / 2, f.y() + 1));
    };
    const QImage shot = bar->grab().toImage();
    const qreal r = shot.devicePixelRatio();
    EXPECT_EQ(opaque(shot.pixel(qFloor((bar->width() - 10) * r), qFloor(1.5 * r))),
              centreOf(ProgressTrackFrame));
    EXPECT_EQ(opaque(shot.pixel(qFloor(bar->width() / 8 * r), qFloor(1.5 * r))),
              centreOf(ProgressBarFrame));
}
