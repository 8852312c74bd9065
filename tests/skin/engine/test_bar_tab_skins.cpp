#include "app/own_skin.h"
#include "platform/status_bar.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"
#include "skin/engine/controls/bar_box_skins.h"
#include "skin/engine/controls/control_geometry.h"
#include "skin/engine/controls/edit_skins.h"
#include "skin/engine/controls/tab_skins.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/control_kinds.h"
#include "skin/engine/manager/control_traversal.h"
#include "skin/engine/manager/window_info.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <set>

using namespace skin;

namespace {

QRgb opaque(QRgb pixel) {
    return pixel | 0xFF000000;
}

// A widget's picture as it is on screen, at its device pixel ratio.
QImage pictureOf(QWidget* w) {
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The logical pixel (x, y) of a widget's picture: the device pixel under its
// centre.
QRgb pixelAt(const QImage& picture, int x, int y) {
    const qreal ratio = picture.devicePixelRatio();
    return opaque(picture.pixel(int((x + 0.5) * ratio), int((y + 0.5) * ratio)));
}

// The page control's tab `index` as the strip draws it (control coordinates).
QRect drawnTab(QTabWidget* pages, int index) {
    return pages->tabBar()->tabRect(index).translated(pages->tabBar()->pos()).translated(0, 1);
}

// The body the page control's border is drawn over.
QRect bodyOf(QTabWidget* pages) {
    const auto* stack = pages->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
    return TabBodyRect(stack->geometry(), TabPosition::Top) & pages->rect();
}

// A window of the program's kinds: a page control of three pages, a group
// box, a status bar of two text panels and a panel.
class BarTabSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerBuiltKinds();
        mData.setSkinStream(app::ownSkinPackage());
        mWindow.setObjectName(QStringLiteral("TForm9"));
        auto* layout = new QVBoxLayout(&mWindow);
        mPages = new QTabWidget;
        for (const char* name : {"商品", "客户", "汇款"}) {
            auto* page = new QWidget;
            page->setObjectName(QString::fromUtf8(name));
            mPages->addTab(page, QString::fromUtf8(name));
        }
        layout->addWidget(mPages, 1);
        mGroup = new QGroupBox(QStringLiteral("本月营业额"));
        QFont font = mGroup->font();
        font.setPixelSize(12);
        mGroup->setFont(font);
        mGroup->setMinimumHeight(50);
        layout->addWidget(mGroup);
        mPanel = new QFrame;
        mPanel->setMinimumHeight(20);
        layout->addWidget(mPanel);
        mStatus = new platform::PanelStatusBar({300, 0});
        mStatus->setPanelText(0, QStringLiteral("共 3 条"));
        layout->addWidget(mStatus);
        mWindow.resize(600, 400);
    }

    void skin() {
        mWindow.show();
        mForm.setWindow(&mWindow, 0, QStringLiteral("TForm9"));
        mForm.SetupFrameworkForm(&mData, &mWindow);
        SkinFormControls(mForm);
        QCoreApplication::processEvents();
    }

    // The Tabs element's frame `frame` stretched to a tab's size: the
    // picture the strip shows there, magenta where the strip shows through.
    QImage tabPicture(QSize size, int frame) const {
        const TDataSkinObject* tabs = mData.element(SkinElement::Tabs);
        return StretchFrame(size, tabs->Image, tabs->margins(), false, tabs->Tile != 0,
                            std::max(tabs->FrameCount, 1), frame);
    }

    // Compares the tab's top-left corner piece (copied unscaled) with the
    // element's own pixels; magenta pixels show what lies behind.
    void expectTabFrame(QTabWidget* pages, int index, int frame) {
        const QRect tab = drawnTab(pages, index);
        const QImage picture = pictureOf(pages);
        const QImage expected = tabPicture(tab.size(), frame);
        const TDataSkinObject* tabs = mData.element(SkinElement::Tabs);
        int compared = 0;
        for (int y = 0; y < tabs->TopHeight; ++y)
            for (int x = 0; x < tabs->LeftWidth; ++x) {
                const QRgb want = opaque(expected.pixel(x, y));
                if (want == opaque(qRgb(255, 0, 255)))
                    continue;
                ++compared;
                EXPECT_EQ(pixelAt(picture, tab.x() + x, tab.y() + y), want)
                    << "tab " << index << " frame " << frame << " at " << x << "," << y;
            }
        EXPECT_GT(compared, 0);
    }

    TSkinData mData;
    QWidget mWindow;
    QTabWidget* mPages = nullptr;
    QGroupBox* mGroup = nullptr;
    QFrame* mPanel = nullptr;
    platform::PanelStatusBar* mStatus = nullptr;
    TWinSkinForm mForm{nullptr};
};

} // namespace

TEST_F(BarTabSkinTest, StatusBarPanelsComeFromTheirBevelFrames) {
    skin();
    ASSERT_NE(qobject_cast<TSkinStatusBar*>(TSkinControl::skinObjectOf(mStatus)), nullptr);
    const TDataSkinObject* edges = mData.element(SkinElement::StatusBarEdges);
    ASSERT_TRUE(edges && !edges->Image.isNull());
    const QImage picture = pictureOf(mStatus);
    const QRect first = mStatus->findChild<QLabel*>(QStringLiteral("Panel0"))->geometry();
    const QRect second = mStatus->findChild<QLabel*>(QStringLiteral("Panel1"))->geometry();
    // Lowered panels: frame 1, its corners copied as they are.
    const QRect frame1 = FrameRect(edges->Image, false, 3, 1);
    const QImage source = edges->Image.convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(pixelAt(picture, first.x(), first.y()), opaque(source.pixel(frame1.topLeft())));
    // The last panel reaches the bar's right edge.
    EXPECT_EQ(pixelAt(picture, mStatus->width() - 1, second.y()),
              opaque(source.pixel(frame1.topRight())));

    // The text in the element's NormalColour2, none in the label's own black.
    const QRgb textColour = opaque(qRgb(redOf(edges->NormalColour2), greenOf(edges->NormalColour2),
                                        blueOf(edges->NormalColour2)));
    int inColour = 0, black = 0;
    for (int y = first.top() + 2; y < first.bottom() - 1; ++y)
        for (int x = first.left() + 2; x < first.left() + 80; ++x) {
            inColour += pixelAt(picture, x, y) == textColour;
            black += pixelAt(picture, x, y) == opaque(qRgb(0, 0, 0));
        }
    EXPECT_GT(inColour, 0);
    EXPECT_EQ(black, 0);

    // Switched off, the bar and its panels paint themselves again.
    sendMessage(mStatus, SM_SETACTIVE, 0, 0);
    EXPECT_NE(pictureOf(mStatus), picture);
    sendMessage(mStatus, SM_SETACTIVE, 1, 0);
    EXPECT_EQ(pictureOf(mStatus), picture);
}

TEST_F(BarTabSkinTest, GroupBoxFrameSitsHalfAFontDownInButtonShadow) {
    skin();
    auto* kind = qobject_cast<TSkinGroupBox*>(TSkinControl::skinObjectOf(mGroup));
    ASSERT_NE(kind, nullptr);
    EXPECT_EQ(kind->Mode, 1);
    const QImage picture = pictureOf(mGroup);
    const int top = QFontMetrics(mGroup->font()).height() / 2 - 1;
    const QRgb shadow = opaque(qRgb(redOf(ColorToRGB(mData.colour(colour::ButtonShadow))),
                                    greenOf(ColorToRGB(mData.colour(colour::ButtonShadow))),
                                    blueOf(ColorToRGB(mData.colour(colour::ButtonShadow)))));
    const SkinColor faceColour = ColorToRGB(mData.colour(colour::ButtonFace));
    const QRgb face = opaque(qRgb(redOf(faceColour), greenOf(faceColour), blueOf(faceColour)));
    const int right = mGroup->width() - 20; // right of the caption
    EXPECT_EQ(pixelAt(picture, right, top), shadow);
    EXPECT_EQ(pixelAt(picture, 1, mGroup->height() / 2), shadow) << "the left side";
    EXPECT_EQ(pixelAt(picture, right, top + 3), face) << "the skin colour inside";
    EXPECT_EQ(pixelAt(picture, 5, top), shadow);
    EXPECT_NE(pixelAt(picture, 9, top), shadow) << "the caption cuts the line from x 8 on";
}

// A checkable box: the skin's check box leads the caption, and a click on
// it still unchecks the box.
TEST_F(BarTabSkinTest, ACheckableGroupBoxShowsTheSkinsCheckBoxAndToggles) {
    mGroup->setCheckable(true);
    mGroup->setChecked(true);
    skin();
    auto* kind = qobject_cast<TSkinGroupBox*>(TSkinControl::skinObjectOf(mGroup));
    ASSERT_NE(kind, nullptr);
    const QImage picture = pictureOf(mGroup);
    const TDataSkinButton* buttons = mData.buttons();
    ASSERT_EQ(kind->CheckRect.size(), QSize(buttons->CheckImage.width() / buttons->CheckButtonFrame,
                                            buttons->CheckImage.height()));
    EXPECT_GT(kind->TextRect.left(), kind->CheckRect.right());
    // Frame 5, checked: its pixels as they are, the caption's skin colour
    // behind magenta.
    const QRect f = FrameRect(buttons->CheckImage, false, buttons->CheckButtonFrame, 5);
    const QImage source = buttons->CheckImage.convertToFormat(QImage::Format_RGB32);
    const SkinColor face = ColorToRGB(mData.colour(colour::ButtonFace));
    for (int y = 0; y < f.height(); ++y)
        for (int x = 0; x < f.width(); ++x) {
            QRgb want = opaque(source.pixel(f.x() + x, f.y() + y));
            if (want == opaque(qRgb(255, 0, 255)))
                want = opaque(qRgb(redOf(face), greenOf(face), blueOf(face)));
            ASSERT_EQ(pixelAt(picture, kind->CheckRect.x() + x, kind->CheckRect.y() + y), want)
                << x << "," << y;
        }
    // The box hit-tests its check box where it is drawn.
    QStyleOptionGroupBox option;
    option.initFrom(mGroup);
    option.subControls = QStyle::SC_All;
    EXPECT_EQ(mGroup->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                              QStyle::SC_GroupBoxCheckBox, mGroup),
              kind->CheckRect);
    QTest::mouseClick(mGroup, Qt::LeftButton, {}, kind->CheckRect.center());
    EXPECT_FALSE(mGroup->isChecked());
}

TEST_F(BarTabSkinTest, TabStripShowsTheSelectedTabAndSwitchesByMouseAndKeyboard) {
    skin();
    auto* kind = qobject_cast<TSkinTab*>(TSkinControl::skinObjectOf(mPages));
    ASSERT_NE(kind, nullptr);
    for (int i = 0; i < mPages->count(); ++i)
        EXPECT_NE(qobject_cast<TSkinTabSheet*>(TSkinControl::skinObjectOf(mPages->widget(i))),
                  nullptr);
    EXPECT_FALSE(kind->WithCloseBoxes);
    expectTabFrame(mPages, 0, 2);
    expectTabFrame(mPages, 1, 1);

    QTabBar* bar = mPages->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(mPages->currentIndex(), 1);
    QTest::mouseMove(bar, bar->tabRect(0).center());
    EXPECT_EQ(kind->hotTab(), 0);
    expectTabFrame(mPages, 1, 2);
    expectTabFrame(mPages, 0, 3);
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(mPages->currentIndex(), 2);
    expectTabFrame(mPages, 2, 2);

    // The body: the border picture around the page, corners as they are.
    const QRect body = bodyOf(mPages);
    const QImage border =
        StretchFrame(body.size(), kind->BodyImage, {4, 5, 4, 4}, false, false, 1, 1);
    const QImage picture = pictureOf(mPages);
    EXPECT_EQ(pixelAt(picture, body.x() + 1, body.y() + 1), opaque(border.pixel(1, 1)));
    EXPECT_EQ(pixelAt(picture, body.right() - 1, body.bottom() - 1),
              opaque(border.pixel(body.width() - 2, body.height() - 2)));

    // Off: the page control's own tabs; on: the skin again.
    sendMessage(mPages, SM_SETACTIVE, 0, 0);
    const QRect tab = drawnTab(mPages, 2);
    const QImage expected = tabPicture(tab.size(), 2);
    bool differs = false;
    const QImage plain = pictureOf(mPages);
    for (int x = 0; x < 5 && !differs; ++x)
        differs = pixelAt(plain, tab.x() + x, tab.y() + 2) != opaque(expected.pixel(x, 2));
    EXPECT_TRUE(differs);
    sendMessage(mPages, SM_SETACTIVE, 1, 0);
    expectTabFrame(mPages, 2, 2);
}

// More tabs than fit: the bar's own scroll arrows are drawn from UpDown.Horz
// (frames 1 to 4 the left arrow, 5 to 8 the right one, by state) and still
// scroll the strip.
TEST_F(BarTabSkinTest, TheStripsScrollArrowsComeFromTheUpDownAndStillScroll) {
    for (int i = 0; i < 12; ++i)
        mPages->addTab(new QWidget, QStringLiteral("第%1页").arg(i + 4));
    mPages->setUsesScrollButtons(true);
    skin();
    auto* kind = qobject_cast<TSkinTab*>(TSkinControl::skinObjectOf(mPages));
    ASSERT_NE(kind, nullptr);
    ASSERT_TRUE(kind->UpDown);
    QTabBar* bar = mPages->tabBar();
    QToolButton *left = nullptr, *right = nullptr;
    for (QToolButton* b : bar->findChildren<QToolButton*>()) {
        if (b->arrowType() == Qt::LeftArrow)
            left = b;
        else if (b->arrowType() == Qt::RightArrow)
            right = b;
    }
    ASSERT_TRUE(left && right);
    ASSERT_TRUE(right->isVisible());
    ASSERT_TRUE(right->isEnabled());
    ASSERT_FALSE(left->isEnabled()) << "the strip starts at its first tab";

    const TDataSkinBorder* element = mData.borderElement(SkinElement::UpDownHorz);
    ASSERT_TRUE(element && !element->Image.isNull());
    const SkinColor face = ColorToRGB(mData.colour(colour::ButtonFace));
    const QImage source = element->Image.convertToFormat(QImage::Format_RGB32);
    // The frame scaled over the whole button (nearest neighbour, magenta
    // showing the skin colour); the glyph in the middle is left out.
    auto expectFrame = [&](QToolButton* arrow, int frame) {
        const QImage picture = pictureOf(arrow);
        const QRect f = FrameRect(element->Image, false, 8, frame);
        const QSize size = arrow->size();
        const QSize cell(element->Image2.width() / 8, element->Image2.height());
        const QRect glyph(
            QPoint((size.width() - cell.width()) / 2, (size.height() - cell.height()) / 2), cell);
        auto want = [&](int fx, int fy) {
            const QRgb p = opaque(source.pixel(f.x() + fx, f.y() + fy));
            return p == opaque(qRgb(255, 0, 255))
                       ? opaque(qRgb(redOf(face), greenOf(face), blueOf(face)))
                       : p;
        };
        int compared = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                if (glyph.contains(x, y))
                    continue;
                // Either end of the source pixel's span.
                const int x0 = x * f.width() / size.width(), y0 = y * f.height() / size.height();
                const int x1 = (2 * x + 1) * f.width() / (2 * size.width());
                const int y1 = (2 * y + 1) * f.height() / (2 * size.height());
                const QRgb got = pixelAt(picture, x, y);
                ++compared;
                ASSERT_TRUE(got == want(x0, y0) || got == want(x1, y1) || got == want(x0, y1) ||
                            got == want(x1, y0))
                    << "frame " << frame << " at " << x << "," << y;
            }
        EXPECT_GT(compared, size.width() * size.height() / 2);
    };
    expectFrame(right, 5);
    expectFrame(left, 3);

    const int firstTab = bar->tabRect(0).left();
    QTest::mouseClick(right, Qt::LeftButton);
    EXPECT_LT(bar->tabRect(0).left(), firstTab);
    EXPECT_TRUE(left->isEnabled());
    expectFrame(left, 1);
}

TEST_F(BarTabSkinTest, ACloseBoxClosesOnlyItsOwnPage) {
    setTag(mPages, 7777);
    skin();
    auto* kind = qobject_cast<TSkinTab*>(TSkinControl::skinObjectOf(mPages));
    ASSERT_NE(kind, nullptr);
    ASSERT_TRUE(kind->WithCloseBoxes);
    pictureOf(mPages);
    ASSERT_EQ(kind->CloseBoxes.size(), 3u);
    QPointer<QWidget> second = mPages->widget(1);
    const QRect box = kind->CloseBoxes[1];
    ASSERT_FALSE(box.isEmpty());
    QTabBar* bar = mPages->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->mapFrom(mPages, box.center()));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(second.isNull());
    ASSERT_EQ(mPages->count(), 2);
    EXPECT_EQ(mPages->tabText(0), QStringLiteral("商品"));
    EXPECT_EQ(mPages->tabText(1), QStringLiteral("汇款"));
    // A press on a tab away from its box only selects it.
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).topLeft() + QPoint(6, 10));
    EXPECT_EQ(mPages->count(), 2);
    EXPECT_EQ(mPages->currentIndex(), 1);
}

TEST_F(BarTabSkinTest, PanelTakesTheSkinColourAndUnskinGivesItBack) {
    const QColor own = mPanel->palette().color(mPanel->backgroundRole());
    const bool ownFill = mPanel->autoFillBackground();
    skin();
    auto* kind = qobject_cast<TSkinBox*>(TSkinControl::skinObjectOf(mPanel));
    ASSERT_NE(kind, nullptr);
    EXPECT_EQ(PropInt(mPanel, QStringLiteral("Color")),
              ColorToRGB(mData.colour(colour::ButtonFace)));
    EXPECT_TRUE(mPanel->autoFillBackground());
    mForm.Unskin();
    EXPECT_EQ(mPanel->palette().color(mPanel->backgroundRole()), own);
    EXPECT_EQ(mPanel->autoFillBackground(), ownFill);
}

TEST_F(BarTabSkinTest, TheDisableTagKeepsAControlPlain) {
    setTag(mGroup, mData.DisableTag);
    setTag(mStatus, mData.DisableTag);
    skin();
    EXPECT_EQ(TSkinControl::skinObjectOf(mGroup), nullptr);
    EXPECT_EQ(TSkinControl::skinObjectOf(mStatus), nullptr);
    EXPECT_NE(TSkinControl::skinObjectOf(mPages), nullptr);
}

// Run also at QT_SCALE_FACTOR 2 and 1.5: the strip is composed at the
// device pixel ratio, and the skin's pixels are never blended.
TEST_F(BarTabSkinTest, TabEdgesKeepTheSkinsOwnColoursAtEveryScale) {
    skin();
    const QImage picture = pictureOf(mPages);
    const qreal ratio = picture.devicePixelRatio();
    const QRect tab = drawnTab(mPages, 0);
    const QImage expected = tabPicture(tab.size(), 2);
    const TDataSkinObject* tabs = mData.element(SkinElement::Tabs);
    const QImage source = tabs->Image.convertToFormat(QImage::Format_RGB32);
    std::set<QRgb> colours;
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            colours.insert(opaque(source.pixel(x, y)));
    // Behind magenta: the strip's fill, the parent's colour.
    const SkinColor behind = PropInt(&mWindow, QStringLiteral("Color"));
    colours.insert(opaque(qRgb(redOf(behind), greenOf(behind), blueOf(behind))));

    const Margins m = tabs->margins();
    // The tab's top and sides; the body covers its lowest rows.
    const int visibleRows = bodyOf(mPages).top() - tab.top();
    auto onEdge = [&](int x, int y) {
        return y < visibleRows && (x < m.left || y < m.top || x >= tab.width() - m.right);
    };
    int checked = 0;
    const QRect device(QPoint(qCeil(tab.x() * ratio), qCeil(tab.y() * ratio)),
                       QPoint(int(tab.right() * ratio), int(tab.bottom() * ratio)));
    for (int dy = device.top(); dy <= device.bottom(); ++dy)
        for (int dx = device.left(); dx <= device.right(); ++dx) {
            const int x = int(dx / ratio) - tab.x(), y = int(dy / ratio) - tab.y();
            if (!onEdge(x, y))
                continue;
            ++checked;
            ASSERT_TRUE(colours.count(opaque(picture.pixel(dx, dy))))
                << "device pixel " << dx << "," << dy << " at ratio " << ratio;
        }
    EXPECT_GT(checked, 0);
    if (ratio == 2.0) {
        for (int y = 0; y < tab.height(); ++y)
            for (int x = 0; x < tab.width(); ++x) {
                const QRgb want = opaque(expected.pixel(x, y));
                if (!onEdge(x, y) || want == opaque(qRgb(255, 0, 255)))
                    continue;
                ASSERT_EQ(opaque(picture.pixel(2 * (tab.x() + x), 2 * (tab.y() + y))), want)
                    << x << "," << y;
            }
    }
}
