#include "own_skin_data.h"

#include "skin/data/skin_paint.h"
#include "skin/engine/frame/form_frame_paint.h"

#include <QFontMetrics>
#include <QIcon>
#include <QPixmap>

#include <gtest/gtest.h>

using namespace skin;

namespace {

constexpr QRgb MagentaPixel = 0xFFFF00FF;

QRgb opaque(QRgb pixel) {
    return pixel | 0xFF000000;
}

FrameWindow sizeableWindow(QSize size, bool active = true) {
    FrameWindow window;
    window.size = size;
    window.title = QStringLiteral("销售管理");
    window.active = active;
    window.maximizeBox = window.minimizeBox = window.systemMenu = true;
    return window;
}

// The frame picture of a window in the program's skin.
struct PaintedFrame {
    explicit PaintedFrame(const FrameWindow& w, const QIcon& icon = QIcon()) : window(w) {
        frame = FrameGeometry(*data, window.borderStyle, window.menuBarHeight);
        buttons = MakeCaptionButtons(host, *data, QImage());
        layout = LayoutCaption(*data, window, frame, buttons, QFontMetrics(data->captionFont()));
        picture = FramePicture(*data, window, frame, layout, buttons, icon, data->captionFont());
    }
    std::unique_ptr<TSkinData> data = loadOwnSkin();
    CountingHost host;
    FrameWindow window;
    FrameSizes frame;
    CaptionButtons buttons;
    CaptionLayout layout;
    QImage picture;
};

} // namespace

TEST(FormFrame, SizesComeFromTheBorderImagesAndNoBorderHasNone) {
    const auto data = loadOwnSkin();
    const FrameSizes frame = FrameGeometry(*data, BorderSizeable, 20);
    EXPECT_EQ(frame, (FrameSizes{4, 25, 4, 5, 20}));
    EXPECT_EQ(FrameGeometry(*data, BorderDialog, 0), (FrameSizes{4, 25, 4, 5, 0}));
    EXPECT_EQ(FrameGeometry(*data, BorderNone, 20), FrameSizes{});

    // The window grows by the frame and keeps its client area.
    const QSize window = FramedSize(QSize(400, 300), frame);
    EXPECT_EQ(window, QSize(408, 350));
    EXPECT_EQ(ClientRect(window, frame), QRect(4, 45, 400, 300));
    EXPECT_EQ(MenuBandRect(window, frame), QRect(4, 25, 400, 20));
    EXPECT_EQ(CaptionRect(window, frame, true), QRect(0, 0, 408, 25));
}

TEST(FormFrame, PaintedBordersAreTheBorderImagesFramesByActiveState) {
    for (const bool active : {true, false}) {
        SCOPED_TRACE(active ? "active" : "inactive");
        const PaintedFrame painted(sizeableWindow(QSize(300, 200), active));
        const QImage& picture = painted.picture;
        const TSkinData& data = *painted.data;
        const QImage left = data.border(TSkinData::Left)->Image;
        const QImage right = data.border(TSkinData::Right)->Image;
        const QImage top = data.border(TSkinData::Top)->Image;
        const QImage bottom = data.border(TSkinData::Bottom)->Image;
        const int side = active ? 0 : 4;  // frame 2 of the side strips starts at x 4
        const int stack = active ? 0 : 1; // frame 2 of the stacks is the lower half

        // The sides' caption ends and bottom ends are copied 1:1; their middle
        // is stretched, so every middle row is one of the image's middle rows.
        for (int x = 0; x < 4; ++x) {
            for (int y = 0; y < 25; ++y) {
                const QRgb l = left.pixel(side + x, y), r = right.pixel(side + x, y);
                if (l != MagentaPixel) {
                    EXPECT_EQ(opaque(picture.pixel(x, y)), l) << x << "," << y;
                }
                if (r != MagentaPixel) {
                    EXPECT_EQ(opaque(picture.pixel(296 + x, y)), r) << x << "," << y;
                }
            }
            for (int y = 0; y < 5; ++y)
                EXPECT_EQ(opaque(picture.pixel(x, 195 + y)), left.pixel(side + x, 95 + y));
            EXPECT_EQ(opaque(picture.pixel(x, 110)), left.pixel(side + x, 60));
        }
        // Between the text and the buttons the caption is the Top border.
        for (int y = 0; y < 25; ++y)
            EXPECT_EQ(opaque(picture.pixel(228, y)), top.pixel(70, 25 * stack + y)) << y;
        for (int y = 0; y < 5; ++y)
            EXPECT_EQ(opaque(picture.pixel(150, 195 + y)), bottom.pixel(70, 5 * stack + y));
        // The client area is left alone.
        EXPECT_EQ(qAlpha(picture.pixel(150, 100)), 0);
        // The outline cuts the transparent borders' magenta: it is not drawn.
        int magenta = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                magenta += picture.pixel(x, y) == MagentaPixel;
        EXPECT_EQ(magenta, 0);

        // The close button: frame 1 when active, frame 4 when not, over the caption.
        const TWinSysButton* close = nullptr;
        for (const auto& button : painted.buttons)
            if (button->action() == 0)
                close = button.get();
        ASSERT_NE(close, nullptr);
        ASSERT_EQ(close->rect, QRect(275, 3, 18, 18));
        const int cell = active ? 0 : 54;
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 18; ++x) {
                const QRgb source = close->image.pixel(cell + x, y);
                const QRgb shown = opaque(picture.pixel(275 + x, 3 + y));
                EXPECT_EQ(shown,
                          source == MagentaPixel ? top.pixel(70, 25 * stack + 3 + y) : source)
                    << x << "," << y;
            }

        // The text back's left end lies under the start of the text block,
        // and the text is drawn in the title colour of the state.
        const QRect block = painted.layout.text.block;
        const QImage back = data.title()->Image;
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 8; ++x) {
                const QRgb source = back.pixel(x, 25 * stack + y);
                if (source != MagentaPixel) {
                    EXPECT_EQ(opaque(picture.pixel(block.x() + x, y)), source);
                }
            }
        const QColor textColour =
            SkinQColor(data.colour(active ? colour::TitleTextActive : colour::TitleTextNoActive));
        auto nearText = [&](QRgb p) {
            return std::abs(qRed(p) - textColour.red()) + std::abs(qGreen(p) - textColour.green()) +
                       std::abs(qBlue(p) - textColour.blue()) <
                   60;
        };
        int textPixels = 0;
        const QRect text = painted.layout.text.textRect;
        for (int y = text.top(); y <= text.bottom(); ++y)
            for (int x = text.left(); x <= text.right(); ++x)
                textPixels += nearText(picture.pixel(x, y));
        EXPECT_GT(textPixels, 20);
    }
}

TEST(FormFrame, TheCaptionShowsTheWindowIconOrElseTheSystemMenuButtonsPicture) {
    const FrameWindow window = sizeableWindow(QSize(300, 200));
    QPixmap green(16, 16);
    green.fill(QColor(0, 200, 0));
    const PaintedFrame withIcon(window, QIcon(green));
    const QRect icon = withIcon.layout.icon;
    ASSERT_EQ(icon.size(), QSize(16, 16));
    EXPECT_EQ(icon.x(), 8);
    EXPECT_EQ(withIcon.picture.pixel(icon.center()), qRgb(0, 200, 0));

    // Without an icon the system-menu button shows its own picture.
    const PaintedFrame without(window);
    EXPECT_NE(without.picture.pixel(icon.center()), qRgb(0, 200, 0));
    for (const auto& button : without.buttons) {
        if (!button->showsIcon() || !button->visible || button->rect.isEmpty())
            continue;
        const QPoint at = button->rect.center();
        const QRgb source = button->image.pixel(at - button->rect.topLeft());
        if (source != MagentaPixel) {
            EXPECT_EQ(without.picture.pixel(at), source);
        }
    }
}

TEST(FormFrame, KeyboardMovesByStepsAndSizesTheEdgeOfTheFirstArrow) {
    const QSize minimum(100, 80), maximum(400, 300);
    KeyboardSizing move;
    move.start = move.geometry = QRect(50, 60, 200, 150);
    EXPECT_TRUE(KeyboardSizingStep(move, Qt::Key_Right, minimum, maximum));
    EXPECT_TRUE(KeyboardSizingStep(move, Qt::Key_Down, minimum, maximum));
    EXPECT_TRUE(KeyboardSizingStep(move, Qt::Key_Down, minimum, maximum));
    EXPECT_FALSE(KeyboardSizingStep(move, Qt::Key_A, minimum, maximum));
    EXPECT_EQ(move.geometry, QRect(58, 76, 200, 150));
    EXPECT_EQ(move.start, QRect(50, 60, 200, 150));

    // Sizing: the first arrow takes the left edge; arrows across it do nothing.
    KeyboardSizing size;
    size.sizing = true;
    size.start = size.geometry = QRect(50, 60, 200, 150);
    KeyboardSizingStep(size, Qt::Key_Left, minimum, maximum);
    KeyboardSizingStep(size, Qt::Key_Up, minimum, maximum);
    EXPECT_EQ(size.edges, Qt::LeftEdge);
    EXPECT_EQ(size.geometry, QRect(42, 60, 208, 150));
    // Back right, down to the minimum width and no further.
    for (int i = 0; i < 20; ++i)
        KeyboardSizingStep(size, Qt::Key_Right, minimum, maximum);
    EXPECT_EQ(size.geometry, QRect(150, 60, 100, 150));
}

TEST(FormFrame, HitTestKeepsTheTopRowsAndGivesTheMenuBand) {
    const QSize window(408, 350);
    auto hit = [&](QPoint p, int borderStyle = BorderSizeable, int state = WindowNormal,
                   const FrameSizes& f = FrameSizes{4, 25, 4, 5, 20}) {
        return FrameHitTest(DefaultHitTest(p, window, f, borderStyle, state), p, f);
    };
    EXPECT_EQ(hit({200, 3}), ht::Top); // y <= 3 keeps the first answer
    EXPECT_EQ(hit({2, 2}), ht::TopLeft);
    EXPECT_EQ(hit({200, 3}, BorderSingle), ht::Border);
    EXPECT_EQ(hit({200, 4}), ht::Caption);
    EXPECT_EQ(hit({200, 24}), ht::Caption);
    EXPECT_EQ(hit({200, 25}), ht::Menu);
    EXPECT_EQ(hit({200, 44}), ht::Menu);
    EXPECT_EQ(hit({200, 30}, BorderSizeable, WindowNormal, FrameSizes{4, 25, 4, 5, 0}), ht::Client);
    EXPECT_EQ(hit({200, 24}, BorderSizeable, WindowNormal, FrameSizes{4, 25, 4, 5, 0}),
              ht::Caption);
    EXPECT_EQ(hit({200, 45}), ht::Client);
    EXPECT_EQ(hit({1, 200}), ht::Left);
    EXPECT_EQ(hit({406, 200}), ht::Right);
    EXPECT_EQ(hit({200, 347}), ht::Bottom);
    EXPECT_EQ(hit({405, 348}), ht::BottomRight);
    // A maximized or fixed window has no sizing edges, only a border.
    EXPECT_EQ(hit({1, 200}, BorderSizeable, WindowMaximized), ht::Border);
    EXPECT_EQ(hit({200, 347}, BorderDialog), ht::Border);
    EXPECT_EQ(hit({200, 2}, BorderSizeable, WindowMaximized), ht::Border);
    EXPECT_EQ(hit({200, 10}, BorderSizeable, WindowMaximized), ht::Caption);
    EXPECT_EQ(hit({200, 30}, BorderDialog), ht::Menu);
}

TEST(FormFrame, RegionLeavesOutTheMagentaPixelsOfTransparentBorders) {
    const auto data = loadOwnSkin();
    for (const bool active : {true, false}) {
        FrameWindow window = sizeableWindow(QSize(300, 200), active);
        const FrameSizes frame = FrameGeometry(*data, window.borderStyle, 0);
        const QRegion region = WindowRegion(*data, window, frame);
        const QImage left = data->border(TSkinData::Left)->Image;
        const QImage right = data->border(TSkinData::Right)->Image;
        const int side = active ? 0 : 4;
        int cut = 0;
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 4; ++x) {
                EXPECT_EQ(region.contains(QPoint(x, y)), left.pixel(side + x, y) != MagentaPixel)
                    << x << "," << y;
                EXPECT_EQ(region.contains(QPoint(296 + x, y)),
                          right.pixel(side + x, y) != MagentaPixel);
                cut += left.pixel(side + x, y) == MagentaPixel;
            }
        EXPECT_GT(cut, 0); // the rounded corners
        // The caption and bottom borders are opaque; the inside is whole.
        EXPECT_EQ(region.boundingRect(), QRect(0, 0, 300, 200));
        EXPECT_TRUE((QRegion(4, 0, 292, 200) - region).isEmpty());
        EXPECT_TRUE((QRegion(0, 25, 300, 175) - region).isEmpty());
    }

    // Without a transparent border the region is the whole window.
    for (int side = 0; side < 4; ++side)
        data->border(side)->Trans = 0;
    const FrameWindow window = sizeableWindow(QSize(300, 200));
    EXPECT_EQ(WindowRegion(*data, window, FrameGeometry(*data, BorderSizeable, 0)),
              QRegion(0, 0, 300, 200));
}

// The window system scales the outline itself, rounding each rectangle's
// corners; at a
// fractional scale no device pixel it keeps inside the window may lie outside
// what is painted (the logical pixel under the device pixel's centre), or the
// window's background shows at the corners.
TEST(FormFrame, OutlineForAFractionalScaleKeepsNoPixelThatIsNotPainted) {
    const auto data = loadOwnSkin();
    for (const int width : {300, 301}) {
        const FrameWindow window = sizeableWindow(QSize(width, 200));
        const QRegion outline =
            WindowRegion(*data, window, FrameGeometry(*data, window.borderStyle, 0));
        const QSize size(width, 200);
        EXPECT_EQ(OutlineForScale(outline, 2, size), outline);
        for (const qreal scale : {1.25, 1.5, 1.75}) {
            const QRegion fitted = OutlineForScale(outline, scale, size);
            EXPECT_TRUE((fitted - outline).isEmpty());
            EXPECT_TRUE((QRegion(4, 25, width - 8, 175) - fitted).isEmpty());
            int kept = 0;
            for (const QRect& rect : fitted) {
                const QRect device(QPoint(qRound(rect.x() * scale), qRound(rect.y() * scale)),
                                   QPoint(qRound((rect.x() + rect.width()) * scale) - 1,
                                          qRound((rect.y() + rect.height()) * scale) - 1));
                for (int y = device.top(); y <= device.bottom(); ++y)
                    for (int x = device.left(); x <= device.right(); ++x) {
                        const QPoint painted(static_cast<int>((x + 0.5) / scale),
                                             static_cast<int>((y + 0.5) / scale));
                        // The window itself ends at its edges.
                        if (painted.x() >= width || painted.y() >= 200)
                            continue;
                        ASSERT_TRUE(outline.contains(painted))
                            << scale << ": " << x << "," << y << " of " << width;
                        ++kept;
                    }
            }
            EXPECT_GT(kept, 0);
        }
    }
}
