#include "app/own_skin.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"
#include "skin/engine/menus/menu_item_measure.h"

#include <QColor>

#include <gtest/gtest.h>

#include <cmath>

using namespace skin;

TEST(MenuItemSize, PopupAndBarDropDownItemsWidenTheMeasuredSize) {
    const QSize measured(80, 20);
    auto size = [&](MenuItemOwner owner, bool images, int leftWidth) {
        return MenuItemSize({owner, measured, false, images, leftWidth});
    };
    EXPECT_EQ(size(MenuItemOwner::PopupMenu, false, 4), QSize(119, 20));
    EXPECT_EQ(size(MenuItemOwner::PopupMenu, true, 4), QSize(96, 20));
    EXPECT_EQ(size(MenuItemOwner::PopupMenu, true, 0), QSize(92, 20));
    EXPECT_EQ(size(MenuItemOwner::BarDropDown, false, 4), QSize(119, 20));
    EXPECT_EQ(size(MenuItemOwner::BarDropDown, true, 4), QSize(94, 20));
    EXPECT_EQ(size(MenuItemOwner::BarDropDown, true, 0), QSize(90, 20));
}

TEST(MenuItemSize, BareWindowItemsFromTheirTextAndLowSeparators) {
    EXPECT_EQ(MenuItemSize({MenuItemOwner::BareWindow, {60, 13}, false, false, 4}), QSize(90, 17));
    EXPECT_EQ(MenuItemSize({MenuItemOwner::BareWindow, {60, 13}, false, false, 0}), QSize(86, 17));
    EXPECT_EQ(MenuItemSize({MenuItemOwner::BareWindow, {0, 13}, true, false, 4}), QSize(30, 8));
}

TEST(MenuItemFrame, SeparatorTwoSelectedFourOtherwiseOne) {
    EXPECT_EQ(MenuItemFrame(false, false), 1);
    EXPECT_EQ(MenuItemFrame(false, true), 4);
    EXPECT_EQ(MenuItemFrame(true, false), 2);
    EXPECT_EQ(MenuItemFrame(true, true), 2);
}

TEST(SeparatorPieces, EndsAtTheirWidthMiddleStretchedFromTheBottomRows) {
    // Frame 2 of a strip of 24 × 20 frames, margins 4.
    const QRect frame(24, 0, 24, 20);
    const std::vector<ImagePiece> low = SeparatorPieces(frame, {4, 4, 4, 4}, {100, 8});
    ASSERT_EQ(low.size(), 3u);
    EXPECT_EQ(low[0].source, QRect(24, 12, 4, 8));
    EXPECT_EQ(low[0].target, QRect(0, 0, 4, 8));
    EXPECT_EQ(low[1].source, QRect(28, 12, 16, 8));
    EXPECT_EQ(low[1].target, QRect(4, 0, 92, 8));
    EXPECT_EQ(low[2].source, QRect(44, 12, 4, 8));
    EXPECT_EQ(low[2].target, QRect(96, 0, 4, 8));

    // A taller item shows the whole frame at its bottom.
    const std::vector<ImagePiece> tall = SeparatorPieces(frame, {4, 4, 4, 4}, {100, 30});
    ASSERT_EQ(tall.size(), 3u);
    EXPECT_EQ(tall[1].source, QRect(28, 0, 16, 20));
    EXPECT_EQ(tall[1].target, QRect(4, 10, 92, 20));

    // Narrower than both ends: the whole frame width is stretched.
    const std::vector<ImagePiece> narrow = SeparatorPieces(frame, {4, 4, 4, 4}, {6, 8});
    ASSERT_EQ(narrow.size(), 1u);
    EXPECT_EQ(narrow[0].source, QRect(24, 12, 24, 8));
    EXPECT_EQ(narrow[0].target, QRect(0, 0, 6, 8));
}

TEST(MenuItemContent, GlyphColumnCaptionAndShortcut) {
    const MenuItemContent plain = MenuItemContentGeometry({{150, 22}, 0, false, 4, false});
    EXPECT_EQ(plain.glyphColumn, QRect(5, 0, 16, 22));
    EXPECT_EQ(plain.caption, QRect(24, 0, 125, 22));
    EXPECT_EQ(plain.shortcut, QRect(24, 0, 115, 22));
    EXPECT_EQ(plain.shortcut.right(), 150 - 11 - 1);
    EXPECT_EQ(plain.captionAlignment, TextAlignment::Left);
    EXPECT_EQ(plain.shortcutAlignment, TextAlignment::Right);

    EXPECT_EQ(MenuItemContentGeometry({{150, 22}, 20, false, 4, false}).caption.x(), 28);
    EXPECT_EQ(MenuItemContentGeometry({{150, 22}, 12, false, 0, false}).glyphColumn.width(), 12);
    EXPECT_EQ(MenuItemContentGeometry({{150, 22}, 12, true, 0, false}).glyphColumn.width(), 16);
}

TEST(MenuItemContent, RightToLeftIsTheMirrorImage) {
    const MenuItemContent mirrored = MenuItemContentGeometry({{150, 22}, 0, false, 4, true});
    EXPECT_EQ(mirrored.glyphColumn, QRect(129, 0, 16, 22));
    EXPECT_EQ(mirrored.caption, QRect(1, 0, 125, 22));
    EXPECT_EQ(mirrored.shortcut, QRect(11, 0, 115, 22));
    EXPECT_EQ(mirrored.captionAlignment, TextAlignment::Right);
    EXPECT_EQ(mirrored.shortcutAlignment, TextAlignment::Left);
    EXPECT_EQ(MenuBackgroundSource({0, 40, 150, 22}), QRect(3, 43, 150, 22));
}

TEST(MenuItemTextColour, SelectedNormalAndDisabled) {
    const MenuColours colours{1, 2, 3, 4};
    EXPECT_EQ(MenuItemTextColour(true, true, colours), 2);
    EXPECT_EQ(MenuItemTextColour(false, true, colours), 1);
    EXPECT_EQ(MenuItemTextColour(true, false, colours), 3);
    EXPECT_EQ(MenuItemTextColour(false, false, colours), 3);
    EXPECT_EQ(MenuItemTextColour(false, false, {1, 2, 1, 4}), 4) << "shadow equal to the text";
}

namespace {

// The contrast of two colours as the usual accessibility guidelines count it
// (1 for equal colours, 21 for black on white).
double contrast(QRgb a, QRgb b) {
    auto luminance = [](QRgb c) {
        auto channel = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QRgb qrgb(SkinColor c) {
    return qRgb(redOf(c), greenOf(c), blueOf(c));
}

} // namespace

TEST(OwnSkinMenus, CaptionsReadOnTheirItemsAndTheSeparatorIsALowLine) {
    TSkinData skin;
    skin.setSkinStream(app::ownSkinPackage());
    ASSERT_TRUE(skin.skinLoaded());
    const TDataSkinObject* item = skin.element(SkinElement::MenuItem);
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(item->FrameCount, 5);
    const QRgb magenta = qRgb(255, 0, 255);

    // Where the caption sits (between the top and bottom margins), every
    // opaque pixel of the selected frame lets HilightText read on it, and of
    // the normal frame MenuText; transparent pixels show the menu background.
    const QRgb menu = qrgb(skin.colour(colour::Menu));
    auto worstContrast = [&](int frame, SkinColor text) {
        const QRect r = FrameRect(item->Image, false, 5, frame);
        double worst = 21;
        for (int y = r.top() + item->TopHeight; y <= r.bottom() - item->BottomHeight; ++y)
            for (int x = r.left() + item->LeftWidth; x <= r.right() - item->RightWidth; ++x) {
                const QRgb pixel = item->Image.pixel(x, y) & 0xFFFFFF;
                const QRgb shown = item->Trans && (pixel | 0xFF000000) == magenta ? menu : pixel;
                worst = std::min(worst, contrast(shown, qrgb(text)));
            }
        return worst;
    };
    EXPECT_GE(worstContrast(4, skin.colour(colour::HilightText)), 4.5);
    EXPECT_GE(worstContrast(1, skin.colour(colour::MenuText)), 4.5);
    EXPECT_GE(contrast(qrgb(skin.colour(colour::Hilight)), qrgb(skin.colour(colour::HilightText))),
              4.5)
        << "the selected fill without a MenuItem element";

    // The separator: transparent above, a full line in the lower rows, so the
    // low separator items (their bottom rows of the frame) show it.
    const QRect sep = FrameRect(item->Image, false, 5, 2);
    auto opaqueRow = [&](int y) {
        for (int x = sep.left() + item->LeftWidth; x <= sep.right() - item->RightWidth; ++x)
            if ((item->Image.pixel(x, y) | 0xFF000000) == magenta)
                return false;
        return true;
    };
    for (int y = sep.top(); y < sep.top() + sep.height() / 2; ++y)
        EXPECT_FALSE(opaqueRow(y)) << "row " << y;
    int lines = 0;
    for (int y = sep.bottom() - 7; y <= sep.bottom(); ++y)
        lines += opaqueRow(y) ? 1 : 0;
    EXPECT_GE(lines, 1);

    // A hot bar item's ButtonHilight outline stands out on the menu bar.
    const TDataSkinObject* bar = skin.element(SkinElement::MenuBar);
    ASSERT_NE(bar, nullptr);
    const QRgb barMiddle = bar->Image.pixel(bar->Image.width() / 2, bar->Image.height() / 4);
    EXPECT_GE(contrast(barMiddle, qrgb(skin.colour(colour::ButtonHilight))), 2.5);
}
