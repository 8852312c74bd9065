#include "own_skin_data.h"

#include "skin/engine/frame/form_frame_paint.h"
#include "skin/engine/menus/menu_bar_layout.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

using namespace skin;

namespace {

struct Bar {
    CountingHost host;
    MenuButtons buttons;

    explicit Bar(const QStringList& captions) {
        for (const QString& caption : captions) {
            auto button = std::make_unique<TMenuBtn>(host);
            button->index = static_cast<int>(buttons.size());
            button->caption = caption;
            button->visible = true;
            button->hasDropDown = true;
            buttons.push_back(std::move(button));
        }
    }
    QList<QRect> rects() const {
        QList<QRect> list;
        for (const auto& b : buttons)
            list << b->rect;
        return list;
    }
};

// Rectangles one after the other from `x` (leftwards from `x` when negative
// `direction`), each caption's advance plus 10 wide.
QList<QRect> expectedRow(const QStringList& captions, const QFontMetrics& font, int x,
                         int direction, int top, int height) {
    QList<QRect> list;
    for (const QString& caption : captions) {
        const int width = font.horizontalAdvance(caption) + 10;
        if (direction < 0)
            x -= width;
        list << QRect(x, top, width, height);
        if (direction > 0)
            x += width;
    }
    return list;
}

const QRect Band(4, 25, 592, 20);

} // namespace

TEST(MenuBarLayout, CaptionsOfTheMainAndSalesWindowsWithTheirBlanks) {
    const auto data = loadOwnSkin();
    const TDataSkinObject* element = data->element(SkinElement::MenuBar);
    ASSERT_NE(element, nullptr);
    const QFontMetrics font{QFont()};
    for (const QStringList& captions :
         {QStringList{"菜 单", "工 具", " 关 于 "}, QStringList{" 辅 助 ", " 工 具 "}}) {
        Bar bar(captions);
        LayoutMenuBar(bar.buttons, Band, font, element, false);
        // The indent is the element's left end (2) + 4.
        EXPECT_EQ(bar.rects(), expectedRow(captions, font, 4 + 6, 1, 25, 19));
    }
    // The blanks around a caption widen its button.
    Bar spaced({" 工 具 "}), tight({"工 具"});
    LayoutMenuBar(spaced.buttons, Band, font, element, false);
    LayoutMenuBar(tight.buttons, Band, font, element, false);
    EXPECT_GT(spaced.buttons[0]->rect.width(), tight.buttons[0]->rect.width() + 4);

    // Without the element the indent is 6 too, from the band's left; a
    // hidden button takes no room and an empty caption adds nothing.
    Bar mixed({"菜 单", "隐藏", "", "&File"});
    mixed.buttons[1]->visible = false;
    LayoutMenuBar(mixed.buttons, Band, font, nullptr, false);
    const int first = font.horizontalAdvance(QStringLiteral("菜 单")) + 10;
    EXPECT_EQ(mixed.rects(),
              QList<QRect>({QRect(10, 25, first, 19), QRect(), QRect(10 + first, 25, 0, 19),
                            QRect(10 + first, 25,
                                  font.horizontalAdvance(QStringLiteral("File")) + 10, 19)}));
    EXPECT_EQ(MenuButtonAt(mixed.buttons, QPoint(12, 30)), mixed.buttons[0].get());
    EXPECT_EQ(MenuButtonAt(mixed.buttons, QPoint(10 + first + 2, 30)), mixed.buttons[3].get());
    EXPECT_EQ(MenuButtonAt(mixed.buttons, QPoint(12, 44)), nullptr); // below the buttons
}

TEST(MenuBarLayout, RightToLeftBarRunsFromTheRightEdge) {
    const auto data = loadOwnSkin();
    const QFontMetrics font{QFont()};
    const QStringList captions{"菜 单", "工 具", " 关 于 "};
    Bar bar(captions);
    LayoutMenuBar(bar.buttons, Band, font, data->element(SkinElement::MenuBar), true);
    // The indent is the element's right end (2) + 8.
    EXPECT_EQ(bar.rects(), expectedRow(captions, font, 596 - 10, -1, 25, 19));
}

TEST(MenuBarLayout, ArrowsCircleThroughTheBarBothWaysAndSkipWhatOpensNothing) {
    Bar bar({"菜 单", "工 具", " 关 于 "});
    EXPECT_EQ(NextMenuButton(bar.buttons, 0, 1), 1);
    EXPECT_EQ(NextMenuButton(bar.buttons, 2, 1), 0);
    EXPECT_EQ(NextMenuButton(bar.buttons, 0, -1), 2);
    EXPECT_EQ(NextMenuButton(bar.buttons, 1, -1), 0);
    bar.buttons[1]->enabled = false;
    EXPECT_EQ(NextMenuButton(bar.buttons, 0, 1), 2);
    EXPECT_EQ(NextMenuButton(bar.buttons, 2, -1), 0);
    bar.buttons[0]->visible = false;
    EXPECT_EQ(NextMenuButton(bar.buttons, 2, 1), 2);

    // Left moves back only from the drop-down's own level, Right forward only
    // from an item without a sub-menu; a right-to-left menu swaps the keys.
    EXPECT_EQ(MenuLoopStep(Qt::Key_Left, false, true, false), -1);
    EXPECT_EQ(MenuLoopStep(Qt::Key_Left, false, false, false), 0);
    EXPECT_EQ(MenuLoopStep(Qt::Key_Right, false, false, false), 1);
    EXPECT_EQ(MenuLoopStep(Qt::Key_Right, false, true, true), 0);
    EXPECT_EQ(MenuLoopStep(Qt::Key_Left, true, false, false), 1);
    EXPECT_EQ(MenuLoopStep(Qt::Key_Right, true, true, false), -1);
    EXPECT_EQ(MenuLoopStep(Qt::Key_Down, false, true, false), 0);

    // Alt alone or F10 opens the first bar menu, Alt with an accelerator its menu.
    Bar keyed({"&File", "E&dit", "A&&B"});
    EXPECT_EQ(MenuButtonForKey(keyed.buttons, QChar()), 0);
    EXPECT_EQ(MenuButtonForKey(keyed.buttons, QLatin1Char('d')), 1);
    EXPECT_EQ(MenuButtonForKey(keyed.buttons, QLatin1Char('B')), -1);
}

TEST(MenuBarLayout, DisabledCaptionIsGreyedAndTheHotButtonOutlined) {
    const auto data = loadOwnSkin();
    QFont font;
    font.setPixelSize(14);
    Bar bar({"菜 单", "工 具"});
    LayoutMenuBar(bar.buttons, Band, QFontMetrics(font), data->element(SkinElement::MenuBar),
                  false);
    bar.buttons[1]->enabled = false;
    bar.buttons[0]->state = TNCObject::MouseOver;
    const QImage background = MenuBarBackground(Band.size(), *data, true);
    QImage picture(600, 50, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    PaintMenuBar(painter, Band, background, bar.buttons, *data, font);
    painter.end();

    // Count the pixels of a colour inside a button.
    auto count = [&](const QRect& rect, const QColor& colour) {
        int n = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                n += std::abs(qRed(picture.pixel(x, y)) - colour.red()) +
                         std::abs(qGreen(picture.pixel(x, y)) - colour.green()) +
                         std::abs(qBlue(picture.pixel(x, y)) - colour.blue()) <
                     40;
        return n;
    };
    const QColor text = SkinQColor(data->colour(colour::MenuBarText));
    const QColor grey = SkinQColor(static_cast<SkinColor>(0x80000000u | syscolor::ButtonShadow));
    const QRect hot = bar.buttons[0]->rect, disabled = bar.buttons[1]->rect;
    EXPECT_GT(count(hot, text), 5);
    EXPECT_EQ(count(disabled, text), 0);
    EXPECT_GT(count(disabled, grey), 5);
    const QColor outline = SkinQColor(data->colour(colour::ButtonHilight));
    EXPECT_EQ(QColor(picture.pixel(hot.topLeft())), outline);
    EXPECT_EQ(QColor(picture.pixel(hot.bottomRight())), outline);
    EXPECT_NE(QColor(picture.pixel(disabled.topLeft())), outline);
    // The background is the element's first frame when active, its second
    // (the lower half of the stack) when not.
    EXPECT_EQ(picture.pixel(Band.x() + 300, 30), background.pixel(300, 5));
    const QImage& image = data->element(SkinElement::MenuBar)->Image;
    auto inFrame = [&](QRgb pixel, int frame) {
        const int height = image.height() / 2;
        for (int y = 0; y < height; ++y)
            if (image.pixel(image.width() / 2, (frame - 1) * height + y) == pixel)
                return true;
        return false;
    };
    const QImage inactive = MenuBarBackground(Band.size(), *data, false);
    for (int y = 0; y < Band.height(); ++y) {
        EXPECT_TRUE(inFrame(background.pixel(300, y), 1)) << y;
        EXPECT_TRUE(inFrame(inactive.pixel(300, y), 2)) << y;
    }
    EXPECT_NE(background.pixel(300, 10), inactive.pixel(300, 10));
}
