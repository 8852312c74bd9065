#include "app/own_skin.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"
#include "skin/engine/manager/message.h"
#include "skin/engine/menus/popup_menus.h"

#include <QApplication>
#include <QMenu>

#include <gtest/gtest.h>

using namespace skin;

namespace {

QColor colourOf(const TSkinData& data, int index) {
    const SkinColor c = ColorToRGB(data.colour(index));
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

int distance(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

// How many pixels of the area are within a small distance of the colour.
int pixelsNear(const QImage& image, const QRect& area, QColor colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += distance(image.pixelColor(x, y), colour) < 24;
    return n;
}

class PopupMenuSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        mData.setSkinStream(app::ownSkinPackage());
        ASSERT_TRUE(mData.skinLoaded());
        mOpen = mMenu.addAction(QStringLiteral("打开计算器"));
        mOpen->setShortcut(QKeySequence(QStringLiteral("Ctrl+J")));
        mLine = mMenu.addSeparator();
        mOff = mMenu.addAction(QStringLiteral("清空所有记录"));
        mOff->setEnabled(false);
        mCheck = mMenu.addAction(QStringLiteral("显示备注"));
        mCheck->setCheckable(true);
        mCheck->setChecked(true);
    }

    // The menu open, as painted on the screen.
    QImage open() {
        mMenu.popup(QPoint(40, 40));
        QApplication::processEvents();
        return mMenu.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    const TDataSkinObject& item() { return *mData.element(SkinElement::MenuItem); }
    QImage itemFrame(int frame) {
        return item()
            .Image.copy(FrameRect(item().Image, false, 5, frame))
            .convertToFormat(QImage::Format_RGB32);
    }

    TSkinData mData;
    QMenu mMenu;
    QAction* mOpen = nullptr;
    QAction* mLine = nullptr;
    QAction* mOff = nullptr;
    QAction* mCheck = nullptr;
};

} // namespace

TEST_F(PopupMenuSkinTest, SeparatorSelectedAndDisabledItemsFromTheSkin) {
    TWinSkinPopMenu wrapper(&mMenu, &mData);
    ASSERT_TRUE(wrapper.drawsItems());
    EXPECT_EQ(sendMessage(&mMenu, SM_ISSKINNED, 0, 0, -1), 1);
    mMenu.setActiveAction(mOpen);
    const QImage menu = open();
    ASSERT_EQ(mMenu.activeAction(), mOpen);

    // The separator shows frame 2's line in its lowest rows; the line lies
    // in the frame's rows 15 and 16 of 20.
    const QRect line = mMenu.actionGeometry(mLine);
    const QImage two = itemFrame(2);
    const int lineRow = line.bottom() - (two.height() - 1 - 15);
    ASSERT_GT(lineRow, line.top());
    EXPECT_EQ(menu.pixel(line.center().x(), lineRow), two.pixel(two.width() / 2, 15));
    EXPECT_EQ(menu.pixel(line.center().x(), lineRow + 1), two.pixel(two.width() / 2, 16));

    // The selected item is frame 4 with a caption in HilightText that reads on it.
    const QRect selected = mMenu.actionGeometry(mOpen);
    const QImage four = itemFrame(4);
    EXPECT_EQ(menu.pixel(selected.center().x(), selected.top() + 1),
              four.pixel(four.width() / 2, 1));
    const QColor face = four.pixelColor(four.width() / 2, four.height() / 2);
    const QColor white = colourOf(mData, colour::HilightText);
    EXPECT_GT(distance(face, white), 300) << "white text must read on the selected look";
    const QRect caption(selected.left() + 24, selected.top(), 60, selected.height());
    EXPECT_GT(pixelsNear(menu, caption, white), 10);

    // The disabled item's caption is in ButtonShadow, none of it in MenuText.
    const QRect off = mMenu.actionGeometry(mOff);
    const QRect offCaption(off.left() + 24, off.top(), 70, off.height());
    EXPECT_GT(pixelsNear(menu, offCaption, colourOf(mData, colour::ButtonShadow)), 10);
    EXPECT_EQ(pixelsNear(menu, offCaption, colourOf(mData, colour::MenuText)), 0);

    // A checked item without a picture shows a check mark in ButtonText in
    // its glyph column (1 + LeftWidth from the left, 16 wide).
    const QRect check = mMenu.actionGeometry(mCheck);
    const QRect column(check.left() + 1 + item().LeftWidth, check.top(), 16, check.height());
    EXPECT_GT(pixelsNear(menu, column, colourOf(mData, colour::ButtonText)), 4);
    const QRect unchecked(column.left(), off.top(), 16, off.height());
    EXPECT_EQ(pixelsNear(menu, unchecked, colourOf(mData, colour::ButtonText)), 0)
        << "an item without a check mark has none";

    // The items are as wide as the measure rules make them: the glyph column,
    // the caption and the shortcut all fit.
    EXPECT_GE(selected.width(), QFontMetrics(mMenu.font()).horizontalAdvance(mOpen->text()) + 39);
    mMenu.hide();
}

TEST_F(PopupMenuSkinTest, BackgroundFromMenuBackgroundAndGivenBackOnUnwrap) {
    const QImage plain = open();
    mMenu.hide();
    {
        TWinSkinPopMenu wrapper(&mMenu, &mData);
        const QImage skinned = open();
        ASSERT_FALSE(wrapper.Background().isNull()) << "cached while painting";
        EXPECT_EQ(wrapper.Background().size(), mMenu.size());
        // The border comes from MenuBackground's own corner.
        EXPECT_EQ(skinned.pixel(0, 0), wrapper.Background().pixel(0, 0));
        EXPECT_EQ(skinned.pixel(1, mMenu.height() / 2),
                  wrapper.Background().pixel(1, mMenu.height() / 2));
        mMenu.hide();
        wrapper.Unwrap();
        EXPECT_EQ(mMenu.style(), QApplication::style());
    }
    EXPECT_EQ(sendMessage(&mMenu, SM_ISSKINNED, 0, 0, -1), -1);
    EXPECT_EQ(open(), plain);
    mMenu.hide();
}

TEST_F(PopupMenuSkinTest, MenuTaggedWithDisableTagAndItsSubmenusStayPlain) {
    const QImage plain = open();
    mMenu.hide();
    mMenu.setProperty("Tag", mData.DisableTag);
    QMenu* sub = mMenu.addMenu(QStringLiteral("特殊操作"));
    sub->addAction(QStringLiteral("备份"));
    TWinSkinPopMenu wrapper(&mMenu, &mData);
    TWinSkinPopMenu subWrapper(sub, &mData);
    EXPECT_FALSE(wrapper.drawsItems());
    EXPECT_FALSE(subWrapper.drawsItems());
    EXPECT_EQ(mMenu.style(), QApplication::style());
    mMenu.removeAction(sub->menuAction());
    EXPECT_EQ(open(), plain);
    mMenu.hide();
}
