// The program's own skin, drawn pixel by pixel: a jade caption with an amber
// line under it, warm cream faces, amber for what the mouse is over and jade
// for what has the focus. Every shape is drawn without smoothing, so that its
// edge against the magenta (transparent) background stays clean.
#include "skin-art/skin_art.h"

#include <QPainter>

#include <functional>

namespace skinart {

namespace {

const QColor Magenta(255, 0, 255);

// Jade caption, active and inactive.
const QColor JadeLight(58, 154, 140), Jade(42, 128, 114), JadeDark(29, 95, 85),
    JadeEdge(19, 72, 64), JadeShine(124, 203, 190), JadeTint(214, 236, 231);
const QColor MistLight(167, 183, 179), Mist(147, 165, 161), MistDark(126, 143, 139),
    MistEdge(102, 117, 111), MistShine(200, 211, 208);
// Cream faces.
const QColor Paper(252, 250, 245), Cream(245, 240, 230), CreamDark(230, 221, 203),
    Sand(191, 179, 156), SandDark(140, 128, 106), Faded(240, 236, 228), FadedEdge(214, 207, 193),
    White(255, 255, 255);
// Amber.
const QColor AmberPale(255, 248, 232), AmberLight(251, 227, 180), Amber(232, 169, 62),
    AmberDark(198, 132, 39);
const QColor Ember(217, 83, 79), EmberDark(179, 58, 54);
const QColor Ink(46, 42, 36), InkFaded(180, 172, 158);

QImage blank(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Magenta);
    return image;
}

QColor mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                            a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

// How a box looks: a vertical gradient, an outline and a line of light under
// its top edge. An invalid colour leaves that part out.
struct Look {
    QColor top;
    QColor bottom;
    QColor border;
    QColor shine = QColor();
};

enum Corners { TopCorners = 1, BottomCorners = 2, AllCorners = 3 };

// Whether the pixel lies inside the rectangle with rounded corners.
bool inside(int x, int y, const QRect& r, int radius, int corners) {
    if (!r.contains(x, y))
        return false;
    const bool left = x<r.left() + radius, right = x> r.right() - radius;
    const bool top = y<r.top() + radius, bottom = y> r.bottom() - radius;
    if (!((left || right) &&
          ((top && (corners & TopCorners)) || (bottom && (corners & BottomCorners)))))
        return true;
    const double cx = left ? r.left() + radius : r.right() + 1 - radius;
    const double cy = top ? r.top() + radius : r.bottom() + 1 - radius;
    const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
    return dx * dx + dy * dy <= radius * radius + 0.5;
}

void drawBox(QImage& image, const QRect& r, int radius, const Look& look,
             int corners = AllCorners) {
    auto in = [&](int x, int y) { return inside(x, y, r, radius, corners); };
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const double t = r.height() > 1 ? double(y - r.top()) / (r.height() - 1) : 0.0;
        const QColor fill = mix(look.top, look.bottom, t);
        for (int x = r.left(); x <= r.right(); ++x) {
            if (!in(x, y))
                continue;
            const bool edge = !in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1);
            QColor colour = fill;
            if (edge && look.border.isValid())
                colour = look.border;
            else if (look.shine.isValid() && look.border.isValid() && !in(x, y - 2))
                colour = look.shine;
            image.setPixelColor(x, y, colour);
        }
    }
}

void fill(QImage& image, const QRect& r, const QColor& colour) {
    QPainter(&image).fillRect(r, colour);
}

// Frames side by side: `draw` paints frame i into the rectangle it is given.
QImage strip(int frames, QSize frame, const std::function<void(QImage&, QRect, int)>& draw) {
    QImage image = blank(frame.width() * frames, frame.height());
    for (int i = 0; i < frames; ++i)
        draw(image, QRect(QPoint(frame.width() * i, 0), frame), i);
    return image;
}

// Rows of pixels: '#' in the colour, anything else left alone; placed at `at`.
void pattern(QImage& image, QPoint at, std::initializer_list<const char*> rows,
             const QColor& colour) {
    int y = at.y();
    for (const char* row : rows) {
        for (int x = 0; row[x]; ++x) {
            if (row[x] == '#')
                image.setPixelColor(at.x() + x, y, colour);
        }
        ++y;
    }
}

// ---- the window frame

struct CaptionColours {
    QColor edge, shine, top, bottom, line;
};
const CaptionColours ActiveCaption{JadeEdge, JadeShine, JadeLight, JadeDark, Amber};
const CaptionColours InactiveCaption{MistEdge, MistShine, MistLight, MistDark, MistEdge};

// The caption's colour in row y of its 25 rows.
QColor captionRow(const CaptionColours& c, int y) {
    if (y == 0)
        return c.edge;
    if (y == 1)
        return c.shine;
    if (y == 24)
        return c.line;
    return mix(c.top, c.bottom, (y - 2) / 21.0);
}

// The side and bottom edge, from outside in.
struct EdgeColours {
    QColor outer, face, inner;
};
const EdgeColours ActiveEdge{JadeEdge, Jade, JadeDark};
const EdgeColours InactiveEdge{MistEdge, Mist, MistDark};

QImage frameTop() {
    QImage image = blank(142, 50);
    for (int f = 0; f < 2; ++f) {
        const CaptionColours& c = f == 0 ? ActiveCaption : InactiveCaption;
        for (int y = 0; y < 25; ++y)
            fill(image, QRect(0, 25 * f + y, 142, 1), captionRow(c, y));
    }
    return image;
}

QImage frameBottom() {
    QImage image = blank(142, 10);
    for (int f = 0; f < 2; ++f) {
        const EdgeColours& e = f == 0 ? ActiveEdge : InactiveEdge;
        const QColor rows[5] = {e.inner, e.face, e.face, e.face, e.outer};
        for (int y = 0; y < 5; ++y)
            fill(image, QRect(0, 5 * f + y, 142, 1), rows[y]);
    }
    return image;
}

// The left side: the caption's end with a rounded corner, the side, and the
// bottom edge's end. The right side is its mirror image.
QImage frameSide(bool right) {
    QImage image = blank(8, 100);
    for (int f = 0; f < 2; ++f) {
        const CaptionColours& c = f == 0 ? ActiveCaption : InactiveCaption;
        const EdgeColours& e = f == 0 ? ActiveEdge : InactiveEdge;
        QImage side = blank(4, 100);
        for (int y = 0; y < 25; ++y)
            fill(side, QRect(0, y, 4, 1), captionRow(c, y));
        const QColor columns[4] = {e.outer, e.face, e.face, e.inner};
        for (int x = 0; x < 4; ++x)
            fill(side, QRect(x, 25, 1, 70), columns[x]);
        const QColor rows[5] = {e.inner, e.face, e.face, e.face, e.outer};
        for (int y = 0; y < 5; ++y)
            fill(side, QRect(0, 95 + y, 4, 1), rows[y]);
        fill(side, QRect(0, 0, 1, 100), e.outer);
        fill(side, QRect(0, 95, 1, 5), e.outer);
        // The rounded top corner: outside the quarter circle is transparent,
        // its rim takes the edge colour.
        const QRect corner(0, 0, 10, 10);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                if (!inside(x, y, corner, 4, TopCorners))
                    side.setPixelColor(x, y, Magenta);
                else if (!inside(x - 1, y, corner, 4, TopCorners) ||
                         !inside(x, y - 1, corner, 4, TopCorners))
                    side.setPixelColor(x, y, c.edge);
            }
        if (right)
            side = side.mirrored(true, false);
        QPainter(&image).drawImage(4 * f, 0, side);
    }
    return image;
}

// The dark rounded band behind the caption text (2 frames, stacked).
QImage textBack() {
    QImage image = blank(24, 50);
    drawBox(image, QRect(0, 4, 24, 17), 5, {QColor(33, 108, 96), QColor(26, 88, 78), JadeDark});
    drawBox(image, QRect(0, 29, 24, 17), 5,
            {QColor(139, 156, 152), QColor(126, 143, 139), MistEdge});
    return image;
}

// ---- caption buttons

enum class Glyph { Close, Maximize, Restore, Minimize };

void drawGlyph(QImage& image, QPoint at, Glyph glyph, const QColor& colour) {
    switch (glyph) {
    case Glyph::Close:
        pattern(image, at,
                {"##....##", "###..###", ".######.", "..####..", "..####..", ".######.", "###..###",
                 "##....##"},
                colour);
        break;
    case Glyph::Maximize:
        pattern(image, at,
                {"########", "########", "#......#", "#......#", "#......#", "#......#", "#......#",
                 "########"},
                colour);
        break;
    case Glyph::Restore:
        pattern(image, at,
                {"..######", "..######", "..#....#", "######.#", "######.#", "#....###", "#....#..",
                 "######.."},
                colour);
        break;
    case Glyph::Minimize:
        pattern(image, at,
                {"........", "........", "........", "........", "........", "........", "########",
                 "########"},
                colour);
        break;
    }
}

// Four frames of 18 × 18: normal, pressed, mouse over, inactive.
QImage captionButton(Glyph glyph) {
    const bool close = glyph == Glyph::Close;
    return strip(4, {18, 18}, [&](QImage& image, QRect cell, int i) {
        const Look looks[4] = {
            {JadeLight, Jade, JadeEdge, JadeShine},
            close ? Look{EmberDark, Ember, QColor(120, 34, 30)}
                  : Look{AmberDark, Amber, QColor(140, 90, 20)},
            close ? Look{QColor(232, 112, 106), Ember, EmberDark, QColor(246, 168, 160)}
                  : Look{QColor(242, 190, 100), Amber, AmberDark, AmberLight},
            {MistLight, Mist, MistEdge, MistShine},
        };
        drawBox(image, cell.adjusted(1, 1, -1, -1), 3, looks[i]);
        const QPoint shift = i == 1 ? QPoint(1, 1) : QPoint(0, 0);
        drawGlyph(image, cell.topLeft() + QPoint(5, 5) + shift, glyph, i == 3 ? MistShine : White);
    });
}

// The window's menu icon: a shopping bag with a jade tag.
QImage systemIcon() {
    QImage image = blank(16, 16);
    pattern(image, {0, 0},
            {"................", ".....######.....", "....##....##....", "....#......#....",
             "....#......#...."},
            AmberDark);
    drawBox(image, QRect(2, 5, 12, 10), 2, {QColor(246, 196, 110), Amber, AmberDark, AmberLight});
    drawBox(image, QRect(8, 9, 4, 4), 1, {JadeLight, Jade, JadeEdge});
    return image;
}

// The three buttons of a maximized child window in the menu bar: minimize,
// restore, close; four frames of 14 × 14 each.
QImage childButtons() {
    QImage image = blank(168, 14);
    const Glyph glyphs[3] = {Glyph::Minimize, Glyph::Restore, Glyph::Close};
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < 4; ++i) {
            const QRect cell(56 * k + 14 * i, 0, 14, 14);
            const Look looks[4] = {{Paper, CreamDark, Sand, White},
                                   {Amber, AmberDark, AmberDark},
                                   {AmberPale, AmberLight, Amber, White},
                                   {Faded, Faded, FadedEdge}};
            drawBox(image, cell.adjusted(1, 1, -1, -1), 2, looks[i]);
            drawGlyph(image, cell.topLeft() + QPoint(3, 3), glyphs[k],
                      i == 3 ? InkFaded : (i == 1 ? White : Ink));
        }
    }
    return image;
}

// ---- menus

QImage menuBar() {
    QImage image = blank(40, 44);
    drawBox(image, QRect(0, 0, 40, 22), 0, {Paper, Cream, QColor()});
    fill(image, QRect(0, 21, 40, 1), Sand);
    drawBox(image, QRect(0, 22, 40, 22), 0, {Cream, CreamDark, QColor()});
    fill(image, QRect(0, 43, 40, 1), Sand);
    return image;
}

// The menu item frames as the popup menus draw them: 1 a normal item and 4 a
// selected one, 2 a separator; 3 and 5 are not drawn by the menus. Magenta is
// transparent, so normal items show the menu's own background. The selected
// look is dark enough for white (HilightText) captions, and the separator's
// etched line lies in the frame's lower rows, which a low separator item shows.
QImage menuItem() {
    return strip(5, {24, 20}, [](QImage& image, QRect cell, int i) {
        if (i == 1) {
            fill(image, QRect(cell.x() + 4, cell.y() + 15, cell.width() - 8, 1), Sand);
            fill(image, QRect(cell.x() + 4, cell.y() + 16, cell.width() - 8, 1), White);
        } else if (i == 3) {
            drawBox(image, cell.adjusted(1, 0, -1, 0), 3, {Jade, JadeDark, JadeEdge, JadeLight});
        }
    });
}

QImage menuBackground() {
    QImage image = blank(40, 40);
    fill(image, image.rect(), Paper);
    fill(image, QRect(0, 0, 22, 40), Cream);
    fill(image, QRect(22, 0, 1, 40), CreamDark);
    QPainter painter(&image);
    painter.setPen(Sand);
    painter.drawRect(0, 0, 39, 39);
    return image;
}

// ---- buttons and check marks

// Normal, pressed, disabled, mouse over, focused.
QImage pushButton() {
    return strip(5, {30, 24}, [](QImage& image, QRect cell, int i) {
        const Look looks[5] = {{Paper, CreamDark, Sand, White},
                               {CreamDark, Cream, SandDark},
                               {Faded, Faded, FadedEdge},
                               {AmberPale, AmberLight, Amber, White},
                               {Paper, CreamDark, Jade, JadeTint}};
        drawBox(image, cell, 4, looks[i]);
    });
}

// The four looks of a check box or radio button: normal, mouse over, pressed, disabled.
const Look MarkLooks[4] = {{White, Paper, SandDark},
                           {AmberPale, AmberPale, Amber},
                           {CreamDark, CreamDark, AmberDark},
                           {Faded, Faded, FadedEdge}};

// Unchecked, checked and mixed, each in the four looks: 12 frames of 13 × 13.
QImage checkBox() {
    return strip(12, {13, 13}, [](QImage& image, QRect cell, int i) {
        const int look = i % 4, state = i / 4;
        drawBox(image, cell, 2, MarkLooks[look]);
        const QColor mark = look == 3 ? InkFaded : Jade;
        if (state == 1) {
            pattern(image, cell.topLeft() + QPoint(3, 3),
                    {"......#", ".....##", "#...##.", "##.##..", ".###...", "..#...."}, mark);
        } else if (state == 2) {
            fill(image, QRect(cell.x() + 3, cell.y() + 5, 7, 3), mark);
        }
    });
}

// Unchecked and checked, each in the four looks: 8 frames of 13 × 13.
QImage radioButton() {
    return strip(8, {13, 13}, [](QImage& image, QRect cell, int i) {
        drawBox(image, cell, 6, MarkLooks[i % 4]);
        if (i >= 4)
            drawBox(
                image, cell.adjusted(4, 4, -4, -4), 2,
                {i % 4 == 3 ? InkFaded : JadeLight, i % 4 == 3 ? InkFaded : JadeDark, QColor()});
    });
}

// ---- pages, panels, boxes

// Normal, focused (the open page), mouse over, disabled, pressed.
QImage tabs() {
    return strip(5, {30, 24}, [](QImage& image, QRect cell, int i) {
        const Look looks[5] = {{Cream, CreamDark, Sand, Paper},
                               {Paper, Paper, Sand},
                               {AmberPale, AmberLight, Amber, White},
                               {Faded, Faded, FadedEdge},
                               {Paper, Paper, Sand}};
        const QRect tab = i == 1 || i == 4 ? cell : cell.adjusted(0, 2, 0, 0);
        drawBox(image, tab, 4, looks[i], TopCorners);
        if (i == 1 || i == 4) {
            // The open page's tab has a coloured top and no bottom edge.
            const QColor top = i == 1 ? Jade : Amber;
            for (int x = tab.left() + 1; x < tab.right(); ++x) {
                for (int y = tab.top(); y < tab.top() + 3; ++y) {
                    if (inside(x, y, tab.adjusted(1, 0, -1, 0), 4, TopCorners))
                        image.setPixelColor(x, y, top);
                }
            }
            fill(image, QRect(tab.left() + 1, tab.bottom(), tab.width() - 2, 1), Paper);
        }
    });
}

QImage paneBorder(int size) {
    QImage image = blank(size, size);
    drawBox(image, image.rect(), 0, {Paper, Paper, Sand});
    return image;
}

// Lowered panel, raised panel, panel without bevel.
QImage statusBarEdges() {
    return strip(3, {20, 20}, [](QImage& image, QRect cell, int i) {
        fill(image, cell, Cream);
        if (i == 2)
            return;
        const QColor topLeft = i == 0 ? Sand : White, bottomRight = i == 0 ? White : Sand;
        fill(image, QRect(cell.x(), cell.y(), cell.width(), 1), topLeft);
        fill(image, QRect(cell.x(), cell.y(), 1, cell.height()), topLeft);
        fill(image, QRect(cell.x(), cell.bottom(), cell.width(), 1), bottomRight);
        fill(image, QRect(cell.right(), cell.y(), 1, cell.height()), bottomRight);
    });
}

QImage groupBoxEdge() {
    return strip(2, {20, 20}, [](QImage& image, QRect cell, int i) {
        drawBox(image, cell, 5, {Magenta, Magenta, i == 0 ? Sand : JadeLight});
    });
}

QImage groupBoxLabel() {
    QImage image = blank(30, 18);
    drawBox(image, image.rect(), 5, {AmberPale, AmberLight, Amber, White});
    return image;
}

// ---- edits, combo boxes, scroll bars

// The frames of the entry boxes' parts are picked by state: 1 normal,
// 2 pressed (a list dropped down), 3 disabled, 4 mouse over or focused.

QImage sunkEdge() {
    return strip(4, {20, 21}, [](QImage& image, QRect cell, int i) {
        const Look looks[4] = {{White, White, Sand},
                               {White, White, Amber},
                               {Faded, Faded, FadedEdge},
                               {White, White, Jade}};
        drawBox(image, cell, 3, looks[i]);
        if (i == 3)
            drawBox(image, cell.adjusted(1, 1, -1, -1), 2, {White, White, JadeTint});
    });
}

// The looks of the buttons and their glyphs, in the frames' order.
const Look PartLooks[4] = {{Paper, CreamDark, Sand, White},
                           {Amber, AmberDark, AmberDark},
                           {Faded, Faded, FadedEdge},
                           {AmberPale, AmberLight, Amber, White}};
const QColor GlyphColours[4] = {Ink, White, InkFaded, Ink};

// The drop-down button.
QImage comboButton() {
    return strip(4, {18, 21}, [](QImage& image, QRect cell, int i) {
        drawBox(image, cell.adjusted(1, 1, -1, -1), 3, PartLooks[i]);
    });
}

void arrow(QImage& image, QPoint at, Qt::ArrowType direction, const QColor& colour) {
    switch (direction) {
    case Qt::DownArrow:
        pattern(image, at, {"#######", ".#####.", "..###..", "...#..."}, colour);
        break;
    case Qt::UpArrow:
        pattern(image, at, {"...#...", "..###..", ".#####.", "#######"}, colour);
        break;
    case Qt::LeftArrow:
        pattern(image, at, {"...#", "..##", ".###", "####", ".###", "..##", "...#"}, colour);
        break;
    default:
        pattern(image, at, {"#...", "##..", "###.", "####", "###.", "##..", "#..."}, colour);
        break;
    }
}

// The drop-down arrow in four looks, then the size grip.
QImage extraImages() {
    return strip(5, {16, 16}, [](QImage& image, QRect cell, int i) {
        if (i < 4) {
            arrow(image, cell.topLeft() + QPoint(4, 6), Qt::DownArrow, GlyphColours[i]);
            return;
        }
        for (int row = 0; row < 3; ++row)
            for (int col = 2 - row; col < 3; ++col) {
                const QPoint dot = cell.topLeft() + QPoint(6 + 3 * col, 6 + 3 * row);
                image.setPixelColor(dot, SandDark);
                image.setPixelColor(dot + QPoint(1, 1), White);
            }
    });
}

// 23 frames of 16 × 16: four arrows in four looks (normal, pressed, disabled,
// mouse over), then the grips of the thumbs in three looks, then nothing.
QImage scrollbarParts() {
    return strip(23, {16, 16}, [](QImage& image, QRect cell, int i) {
        if (i < 16) {
            const Qt::ArrowType directions[4] = {Qt::LeftArrow, Qt::RightArrow, Qt::UpArrow,
                                                 Qt::DownArrow};
            const Qt::ArrowType direction = directions[i / 4];
            const int look = i % 4;
            drawBox(image, cell.adjusted(1, 1, -1, -1), 3, PartLooks[look]);
            const bool sideways = direction == Qt::LeftArrow || direction == Qt::RightArrow;
            arrow(image, cell.topLeft() + (sideways ? QPoint(6, 4) : QPoint(4, 6)), direction,
                  GlyphColours[look]);
            return;
        }
        if (i >= 22)
            return;
        const bool vertical = i >= 19;
        const QColor line = (i - 16) % 3 == 0 ? SandDark : AmberDark;
        for (int k = 0; k < 3; ++k) {
            const QRect groove = vertical ? QRect(cell.x() + 4, cell.y() + 5 + 2 * k, 8, 1)
                                          : QRect(cell.x() + 5 + 2 * k, cell.y() + 4, 1, 8);
            fill(image, groove, line);
            fill(image, groove.translated(vertical ? QPoint(0, 1) : QPoint(1, 0)), White);
        }
    });
}

// The track between the arrows: enabled, pressed, disabled, enabled.
QImage scrollTrack(bool vertical) {
    return strip(4, {16, 16}, [&](QImage& image, QRect cell, int i) {
        const QColor face = i == 2 ? Faded : i == 1 ? CreamDark : QColor(236, 230, 218);
        fill(image, cell, face);
        const QColor line(222, 214, 198);
        if (vertical) {
            fill(image, QRect(cell.x(), cell.y(), 1, 16), line);
            fill(image, QRect(cell.right(), cell.y(), 1, 16), line);
        } else {
            fill(image, QRect(cell.x(), cell.y(), 16, 1), line);
            fill(image, QRect(cell.x(), cell.bottom(), 16, 1), line);
        }
    });
}

// Normal, pressed, mouse over.
QImage scrollThumb(bool vertical) {
    const QSize frame = vertical ? QSize(16, 24) : QSize(24, 16);
    return strip(3, frame, [&](QImage& image, QRect cell, int i) {
        const Look looks[3] = {{Paper, CreamDark, Sand, White},
                               {Amber, AmberDark, AmberDark},
                               {AmberPale, AmberLight, Amber, White}};
        drawBox(image, vertical ? cell.adjusted(1, 0, -1, 0) : cell.adjusted(0, 1, 0, -1), 4,
                looks[i]);
    });
}

// Up-down buttons: four looks of the first button (up or left), then the second.
QImage upDown(bool vertical, bool glyphs) {
    const QSize frame = vertical ? QSize(16, 10) : QSize(10, 16);
    return strip(8, frame, [&](QImage& image, QRect cell, int i) {
        const int look = i % 4;
        const bool second = i >= 4;
        if (glyphs) {
            const Qt::ArrowType direction = vertical ? (second ? Qt::DownArrow : Qt::UpArrow)
                                                     : (second ? Qt::RightArrow : Qt::LeftArrow);
            arrow(image, cell.topLeft() + (vertical ? QPoint(4, 3) : QPoint(3, 4)), direction,
                  GlyphColours[look]);
            return;
        }
        const int corners = vertical ? (second ? BottomCorners : TopCorners) : AllCorners;
        drawBox(image, cell, 3, PartLooks[look], corners);
    });
}

// The progress bar's track and its filled part.
QImage progress() {
    return strip(2, {20, 16}, [](QImage& image, QRect cell, int i) {
        if (i == 0)
            drawBox(image, cell, 4, {CreamDark, Cream, Sand});
        else
            drawBox(image, cell, 4, {JadeShine, Jade, JadeDark});
    });
}

QImage progressChunk() {
    QImage image = blank(9, 12);
    drawBox(image, QRect(0, 0, 8, 12), 2, {JadeShine, Jade, QColor()});
    return image;
}

// Column headers: normal, pressed, mouse over, disabled, sorted.
QImage headerbar() {
    return strip(5, {20, 20}, [](QImage& image, QRect cell, int i) {
        const Look looks[5] = {{Paper, Cream, QColor()},
                               {CreamDark, Cream, QColor()},
                               {AmberPale, AmberLight, QColor()},
                               {Faded, Faded, QColor()},
                               {JadeTint, Paper, QColor()}};
        drawBox(image, cell, 0, looks[i]);
        fill(image, QRect(cell.x(), cell.bottom(), cell.width(), 1), Sand);
        fill(image, QRect(cell.right(), cell.y() + 3, 1, cell.height() - 6), Sand);
    });
}

} // namespace

QList<Bitmap> drawSkinBitmaps() {
    return {
        {"FrameTop.bmp", frameTop()},
        {"FrameLeft.bmp", frameSide(false)},
        {"FrameRight.bmp", frameSide(true)},
        {"FrameBottom.bmp", frameBottom()},
        {"TextBack.bmp", textBack()},
        {"CloseButton.bmp", captionButton(Glyph::Close)},
        {"MaxButton.bmp", captionButton(Glyph::Maximize)},
        {"RestoreButton.bmp", captionButton(Glyph::Restore)},
        {"MinButton.bmp", captionButton(Glyph::Minimize)},
        {"SysIcon.bmp", systemIcon()},
        {"ChildButtons.bmp", childButtons()},
        {"MenuBar.bmp", menuBar()},
        {"MenuItem.bmp", menuItem()},
        {"MenuBack.bmp", menuBackground()},
        {"Button.bmp", pushButton()},
        {"CheckBox.bmp", checkBox()},
        {"RadioButton.bmp", radioButton()},
        {"Tabs.bmp", tabs()},
        {"TabBorder.bmp", paneBorder(30)},
        {"TabPane.bmp", paneBorder(20)},
        {"StatusBar.bmp", statusBarEdges()},
        {"GroupBoxEdge.bmp", groupBoxEdge()},
        {"GroupBox.bmp", groupBoxLabel()},
        {"SunkEdge.bmp", sunkEdge()},
        {"ComboButton.bmp", comboButton()},
        {"ExtraImages.bmp", extraImages()},
        {"Scrollbar.bmp", scrollbarParts()},
        {"HorzScroll.bmp", scrollTrack(false)},
        {"VertScroll.bmp", scrollTrack(true)},
        {"HorzThumb.bmp", scrollThumb(false)},
        {"VertThumb.bmp", scrollThumb(true)},
        {"UpDownVert.bmp", upDown(true, false)},
        {"UpDownVertGlyph.bmp", upDown(true, true)},
        {"UpDownHorz.bmp", upDown(false, false)},
        {"UpDownHorzGlyph.bmp", upDown(false, true)},
        {"Progress.bmp", progress()},
        {"ProgressChunk.bmp", progressChunk()},
        {"Headerbar.bmp", headerbar()},
    };
}

} // namespace skinart
