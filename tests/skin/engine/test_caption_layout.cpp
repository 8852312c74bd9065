#include "own_skin_data.h"

#include "skin/engine/frame/caption_layout.h"

#include <QFontMetrics>

#include <stdexcept>

#include <gtest/gtest.h>

using namespace skin;

namespace {

// A title with round numbers: block = text + 8 + 8.
struct TitleSetting {
    TDataSkinTitle title;
    TitleSetting(int alignment) {
        title.TextAlignment = alignment;
        title.TextShift() = 26;
        title.TextShiftVert() = 3;
        title.TextRightClip() = 72;
        title.TXTBackleft = title.TXTBackRight = 8;
    }
};

FrameWindow windowOf(int width, const QString& title = QStringLiteral("记事本")) {
    FrameWindow window;
    window.size = QSize(width, 300);
    window.title = title;
    window.maximizeBox = window.minimizeBox = window.systemMenu = true;
    return window;
}

const QRect Caption(4, 0, 392, 25); // L 4, R 396

} // namespace

TEST(CaptionLayout, TextIsPlacedByAlignmentAndMirroredRightToLeft) {
    const QFont font;
    const QFontMetrics metrics(font);
    const FrameWindow window = windowOf(400);
    const QSize size = metrics.size(Qt::TextIncludeTrailingSpaces, CaptionString(window.title));
    const int w = size.width(), h = size.height();
    const int block = w + 16;
    const int top = (25 - h) / 2 + 1;
    const int reserved = 65;

    struct Case {
        int alignment;
        bool rightToLeft;
        int left;
    } cases[] = {
        {0, false, 4 + 26},
        {1, false, 4 + (392 - block) / 2},
        {2, false, 396 - 72 - block},
        {0, true, 396 - reserved - block + 10},
        {1, true, 4 + (396 - reserved - 4 - block) / 2 + 10},
        {2, true, 4 + 26 + 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.alignment << (c.rightToLeft ? " rtl" : ""));
        FrameWindow w2 = window;
        w2.rightToLeft = c.rightToLeft;
        const CaptionText text =
            LayoutCaptionText(TitleSetting(c.alignment).title, w2, Caption, reserved, metrics);
        EXPECT_EQ(text.block, QRect(c.left, top, block, h));
        EXPECT_EQ(text.textRect, QRect(c.left + 8, top, block - 16, h));
        EXPECT_EQ(text.text, CaptionString(window.title));
        EXPECT_EQ(text.rightToLeft, c.rightToLeft);
    }

    // A right-to-left block that would start at the caption's left edge
    // starts at TextShift instead, keeping its right edge.
    FrameWindow narrow = windowOf(400);
    narrow.rightToLeft = true;
    const CaptionText pushed =
        LayoutCaptionText(TitleSetting(0).title, narrow, Caption, 396 - 4 - block, metrics);
    EXPECT_EQ(pushed.block.left(), 26 + 10);
    EXPECT_EQ(pushed.block.x() + pushed.block.width(), 4 + block + 10);
}

TEST(CaptionLayout, DialogShiftsLeftAndLongTitlesEndInAnEllipsisBeforeTheClip) {
    const QFontMetrics metrics{QFont()};
    FrameWindow dialog = windowOf(400);
    dialog.borderStyle = BorderDialog;
    EXPECT_EQ(LayoutCaptionText(TitleSetting(0).title, dialog, Caption, 0, metrics).block.x(),
              4 + 26 - 16);
    EXPECT_EQ(LayoutCaptionText(TitleSetting(1).title, dialog, Caption, 0, metrics).block,
              LayoutCaptionText(TitleSetting(1).title, windowOf(400), Caption, 0, metrics).block);

    const QString title = QStringLiteral("销售记录 - 全部记录一览与统计 ").repeated(6);
    const CaptionText text =
        LayoutCaptionText(TitleSetting(0).title, windowOf(400, title), Caption, 0, metrics);
    EXPECT_EQ(text.block.x() + text.block.width(), 396 - 72);
    EXPECT_EQ(text.textRect.x() + text.textRect.width(), 396 - 72 - 8);
    EXPECT_TRUE(text.text.endsWith(QChar(0x2026))) << text.text.toStdString();
    EXPECT_TRUE(text.text.startsWith(QStringLiteral("  销售记录")));
    EXPECT_LE(metrics.horizontalAdvance(text.text), text.textRect.width());

    // A pop-up window clips at its buttons instead.
    FrameWindow popup = windowOf(400, title);
    popup.popup = true;
    const CaptionText clipped =
        LayoutCaptionText(TitleSetting(0).title, popup, Caption, 65, metrics);
    EXPECT_EQ(clipped.block.x() + clipped.block.width(), 396 - 65 - 5);
}

TEST(CaptionLayout, VisibilityTableForEveryCode) {
    FrameWindow plain = windowOf(400);
    plain.maximizeBox = plain.minimizeBox = plain.systemMenu = false;
    FrameWindow maximized = windowOf(400);
    maximized.windowState = WindowMaximized;
    FrameWindow inactive = windowOf(400);
    inactive.active = false;
    FrameWindow boxesOnly = windowOf(400);
    boxesOnly.systemMenu = false;
    FrameWindow help = plain;
    help.contextHelp = true;
    FrameWindow helpAndBoxes = windowOf(400);
    helpAndBoxes.contextHelp = true;
    FrameWindow dialog = plain;
    dialog.borderStyle = BorderDialog;
    FrameWindow messageBox = dialog;
    messageBox.systemDialog = true;
    const FrameWindow normal = windowOf(400);

    const FrameWindow* windows[] = {&normal, &plain,        &maximized, &inactive,  &boxesOnly,
                                    &help,   &helpAndBoxes, &dialog,    &messageBox};
    // For each code, whether Visibility / Visibility1 allow it in the windows above.
    struct Row {
        int code;
        const char* first;
        const char* second;
    } rows[] = {
        {0, "111111111", "111111111"},    {1, "001000000", "001000000"},
        {2, "110111111", "110111111"},    {3, "111011111", "111011111"},
        {4, "000100000", "000100000"},    {5, "000000000", "000000000"},
        {6, "101100100", "101110100"},    {7, "010001011", "010001011"},
        {8, "101100100", "101110100"},    {9, "010001011", "010001011"},
        {10, "000001000", "000001100"},   {-1, "000000000", "000000000"},
        {100, "000000000", "000000000"},  {200, "000000010", "000000000"},
        {201, "111111111", "000000000"},  {999, "111111111", "000000000"},
        {1000, "000000000", "000000000"}, {2001, "000000000", "000000000"},
    };
    for (const Row& row : rows)
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(VisibilityAllows(row.code, true, 5, *windows[i]), row.first[i] == '1')
                << "Visibility " << row.code << " window " << i;
            EXPECT_EQ(VisibilityAllows(row.code, false, 5, *windows[i]), row.second[i] == '1')
                << "Visibility1 " << row.code << " window " << i;
        }
    // Codes 1000 to 2000 ask the window (code and Action); only Visibility shows then.
    const CaptionVisibleQuery answer = [](int code, int action) { return code - 1500 + action; };
    EXPECT_TRUE(VisibilityAllows(1500, true, 1, normal, answer));
    EXPECT_FALSE(VisibilityAllows(1500, true, 0, normal, answer));
    EXPECT_FALSE(VisibilityAllows(1500, false, 1, normal, answer));
}

TEST(CaptionLayout, MaximizeRestoreMinimizeAndCloseOfTheProgramsSkin) {
    const auto data = loadOwnSkin();
    auto find = [&](const char* name) -> const TDataSkinSysButton& {
        for (const auto& b : data->captionButtons())
            if (b->Name == QLatin1String(name))
                return *b;
        throw std::runtime_error(name);
    };
    const TDataSkinSysButton& maximize = find("BUTTONMAXIMIZE");
    const TDataSkinSysButton& restore = find("BUTTONRESTORE");
    const TDataSkinSysButton& minimize = find("BUTTONMINIMIZE");
    const TDataSkinSysButton& close = find("BUTTONCLOSE");
    const TDataSkinSysButton& icon = find("BUTTONSYSMENU");
    auto shown = [](const TDataSkinSysButton& b, const FrameWindow& w) {
        const CaptionButtonShow s = CaptionButtonShown(b, w);
        return std::pair(s.visible, s.enabled);
    };
    using P = std::pair<bool, bool>;

    FrameWindow window = windowOf(400);
    EXPECT_EQ(shown(maximize, window), P(true, true));
    EXPECT_EQ(shown(restore, window), P(false, true));
    EXPECT_EQ(shown(minimize, window), P(true, true));
    window.windowState = WindowMaximized;
    EXPECT_EQ(shown(maximize, window), P(false, true));
    EXPECT_EQ(shown(restore, window), P(true, true));

    // A minimize box alone: maximize shows but is disabled.
    window = windowOf(400);
    window.maximizeBox = false;
    EXPECT_EQ(shown(maximize, window), P(true, false));
    EXPECT_EQ(shown(minimize, window), P(true, true));
    // No boxes: neither shows. No system menu: no minimize, no close.
    window.minimizeBox = false;
    EXPECT_EQ(shown(maximize, window).first, false);
    EXPECT_EQ(shown(minimize, window).first, false);
    window = windowOf(400);
    window.systemMenu = false;
    EXPECT_EQ(shown(maximize, window), P(true, false));
    EXPECT_EQ(shown(minimize, window).first, false);
    EXPECT_EQ(shown(close, window).first, false);
    // A dialog shows no system-menu button.
    window = windowOf(400);
    window.borderStyle = BorderDialog;
    EXPECT_EQ(shown(icon, window).first, false);
    EXPECT_EQ(shown(close, window).first, true);
}

TEST(CaptionLayout, ButtonsAreLaidOutByAlignAndFramedByState) {
    const auto data = loadOwnSkin();
    CountingHost host;
    CaptionButtons buttons = MakeCaptionButtons(host, *data, QImage());
    FrameWindow window = windowOf(300);
    const FrameSizes frame = FrameGeometry(*data, BorderSizeable, 0);
    const CaptionLayout layout =
        LayoutCaption(*data, window, frame, buttons, QFontMetrics(data->captionFont()));
    EXPECT_EQ(layout.reservedRight, 65);
    EXPECT_EQ(layout.caption, QRect(4, 0, 292, 25));
    QStringList placed;
    for (const auto& b : buttons)
        if (b->visible)
            placed << QStringLiteral("%1 %2,%3 %4x%5")
                          .arg(b->button().Name)
                          .arg(b->rect.x())
                          .arg(b->rect.y())
                          .arg(b->rect.width())
                          .arg(b->rect.height());
    EXPECT_EQ(placed, QStringList({"BUTTONSYSMENU 6,4 16x16", "BUTTONCLOSE 275,3 18x18",
                                   "BUTTONMAXIMIZE 255,3 18x18", "BUTTONMINIMIZE 235,3 18x18"}));
    EXPECT_EQ(CaptionButtonAt(buttons, QPoint(280, 10))->action(), 0);
    EXPECT_EQ(CaptionButtonAt(buttons, QPoint(230, 10)), nullptr);
    EXPECT_EQ(layout.icon.x(), 8);
    EXPECT_LE(std::abs(layout.icon.center().y() - layout.text.textRect.center().y()), 1);

    // Align 2 and 8 sit left of the text block, 3 and 9 right of it.
    TDataSkinSysButton extra;
    extra.Image = QImage(30, 10, QImage::Format_RGB32);
    extra.FrameCount = 3;
    extra.Xcoord = 2;
    extra.Ycoord = 5;
    const QRect block(40, 4, 100, 16);
    const int aligns[] = {2, 8, 3, 9, 100, 7};
    const QRect places[] = {
        {28, 5, 10, 10}, {28, 5, 10, 10}, {142, 5, 10, 10}, {142, 5, 10, 10}, {}, {}};
    for (int i = 0; i < 6; ++i) {
        extra.Align = aligns[i];
        EXPECT_EQ(CaptionButtonRect(TWinSysButton(host, extra), 300, block), places[i]) << i;
    }

    // Frames: 1 active and enabled, 4 inactive or disabled; a state change
    // shows the state's frame.
    TWinSysButton& close = *buttons[1];
    EXPECT_EQ(close.paintFrame(true), 1);
    EXPECT_EQ(close.paintFrame(false), 4);
    close.enabled = false;
    EXPECT_EQ(close.paintFrame(true), 4);
    EXPECT_EQ(close.stateFrame(), 4);
    close.enabled = true;
    close.Hover();
    EXPECT_EQ(close.stateFrame(), 3);
    close.Press();
    EXPECT_EQ(close.stateFrame(), 2);
    EXPECT_EQ(host.hotObject(), &close);
    buttons[2]->Hover(); // the mouse moves on to maximize
    EXPECT_EQ(close.stateFrame(), 1);
    EXPECT_EQ(host.hotObject(), buttons[2].get());
    EXPECT_EQ(host.paints, 4);
    TWinSysButton few(host, extra); // 3 frames: never the fourth
    few.enabled = false;
    EXPECT_EQ(few.paintFrame(false), 1);
    EXPECT_EQ(few.stateFrame(), 1);
}

TEST(CaptionLayout, HintShowsAfterTwiceThePauseUntilTheHidePauseHasPassed) {
    HintCounter counter;
    QList<int> phases, expected;
    for (int tick = 1; tick <= 16; ++tick) {
        phases << counter.tick();
        // 250 ms ticks: shown from 1000 ms (twice the 500 ms pause) to 3500 ms.
        expected << (tick < 4     ? HintCounter::Waiting
                     : tick <= 14 ? HintCounter::Shown
                                  : HintCounter::Over);
    }
    EXPECT_EQ(phases, expected);
    counter.reset();
    EXPECT_EQ(counter.tick(), HintCounter::Waiting);

    EXPECT_EQ(CaptionHintText(0, WindowNormal), QStringLiteral("Close"));
    EXPECT_EQ(CaptionHintText(1, WindowNormal), QStringLiteral("Maximize"));
    EXPECT_EQ(CaptionHintText(1, WindowMaximized), QStringLiteral("Restore"));
    EXPECT_EQ(CaptionHintText(2, WindowNormal), QStringLiteral("Minimize"));
    EXPECT_EQ(CaptionHintText(61, WindowNormal), QStringLiteral("Restore"));
    EXPECT_EQ(CaptionHintText(3, WindowNormal), QString());
    EXPECT_EQ(HintPosition(QRect(235, 3, 18, 18), QPoint(100, 50), 70), QPoint(335, 94));
}
