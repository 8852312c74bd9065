// The skin sheet: two sample windows (active and inactive) painted from a
// loaded skin with the skin painting routines, and every element in all its
// frames, enlarged, over a checkerboard that shows what is transparent.
#include "skin-art/skin_art.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"
#include "skin/engine/menus/menu_item_measure.h"

#include <QBuffer>
#include <QPainter>
#include <QtEndian>

namespace skinart {

namespace {

using namespace skin;

const QColor SheetBack(250, 248, 244), Caption(70, 64, 56), Faint(150, 142, 130);

QColor qcolour(SkinColor c) {
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

QFont font(int pixels, bool bold = false) {
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// One frame of an element drawn whole into the rectangle, magenta left out.
void frameInto(QPainter& p, const QRect& r, const TDataSkinObject* e, bool vertical, int frame,
               bool tile = false) {
    if (e && !e->Image.isNull())
        DrawFrame(p, r, e->Image, vertical, tile, true, e->FrameCount, frame, e->margins());
}

void text(QPainter& p, const QRect& r, const QString& s, SkinColor colour,
          int flags = Qt::AlignCenter, int pixels = 12) {
    p.setFont(font(pixels));
    p.setPen(qcolour(colour));
    p.drawText(r, flags, s);
}

void paintPushButton(QPainter& p, const TSkinData& skin, const QRect& r, int frame,
                     const QString& caption) {
    const TDataSkinButton* b = skin.buttons();
    frameInto(p, r, b, false, frame, b->Tile != 0);
    const SkinColor colour =
        frame == 4 && b->MouseOverColour2Given ? b->MouseOverColour2 : b->NormalColour2;
    text(p, r, caption, colour);
}

// An open drop-down menu at `at`: its background, a normal item with a
// shortcut, a selected item, a separator and a disabled item.
void paintDropDown(QPainter& p, const TSkinData& skin, QPoint at) {
    const TDataSkinObject* back = skin.element(SkinElement::MenuBackground);
    const TDataSkinObject* item = skin.element(SkinElement::MenuItem);
    if (!back || !item)
        return;
    struct Line {
        QString caption, shortcut;
        bool selected, enabled, separator;
    };
    const Line lines[] = {
        {QStringLiteral("计算器"), QStringLiteral("Ctrl+J"), false, true, false},
        {QStringLiteral("万年历"), QString(), true, true, false},
        {QString(), QString(), false, true, true},
        {QStringLiteral("特殊操作"), QString(), false, false, false},
    };
    const int width = 150, itemHeight = 22, separatorHeight = 8;
    int height = 2 * MenuBorderWidth;
    for (const Line& line : lines)
        height += line.separator ? separatorHeight : itemHeight;
    const QRect menu(at, QSize(width, height));
    p.drawImage(menu.topLeft(), StretchFrame(menu.size(), back->Image, back->margins(), false,
                                             back->Tile != 0, 1, 1));

    MenuColours colours;
    colours.menuText = skin.colour(colour::MenuText);
    colours.hilightText = skin.colour(colour::HilightText);
    colours.buttonShadow = skin.colour(colour::ButtonShadow);
    colours.systemButtonShadow =
        ColorToRGB(static_cast<SkinColor>(0xFF000000u | syscolor::ButtonShadow));
    int y = menu.y() + MenuBorderWidth;
    for (const Line& line : lines) {
        const QRect r(menu.x() + MenuBorderWidth, y, width - 2 * MenuBorderWidth,
                      line.separator ? separatorHeight : itemHeight);
        y += r.height();
        if (line.separator) {
            const QRect frame = FrameRect(item->Image, false, item->FrameCount, 2);
            for (const ImagePiece& piece : SeparatorPieces(frame, item->margins(), r.size()))
                DrawMasked(p, piece.target.translated(r.topLeft()),
                           item->Image.copy(piece.source).scaled(piece.target.size()));
            continue;
        }
        DrawElementFrame(p, r, item->FrameCount, MenuItemFrame(false, line.selected), *item);
        const MenuItemContent content =
            MenuItemContentGeometry({r.size(), 0, false, item->LeftWidth, false});
        const SkinColor colour = MenuItemTextColour(line.selected, line.enabled, colours);
        text(p, content.caption.translated(r.topLeft()), line.caption, colour,
             Qt::AlignVCenter | Qt::AlignLeft);
        text(p, content.shortcut.translated(r.topLeft()), line.shortcut, colour,
             Qt::AlignVCenter | Qt::AlignRight);
    }
}

// A sample window: frame, caption, buttons, menu bar and a few controls.
void paintWindow(QPainter& p, const TSkinData& skin, const QRect& window, bool active) {
    p.save();
    p.translate(window.topLeft());
    const int W = window.width(), H = window.height();
    const int frame = active ? 1 : 2;
    const TDataSkinBorder* left = skin.border(TSkinData::Left);
    const TDataSkinBorder* right = skin.border(TSkinData::Right);
    const TDataSkinBorder* top = skin.border(TSkinData::Top);
    const TDataSkinBorder* bottom = skin.border(TSkinData::Bottom);
    const int lw = left->Image.width() / left->FrameCount;
    const int rw = right->Image.width() / right->FrameCount;
    const int th = top->Image.height() / top->FrameCount;
    const int bh = bottom->Image.height() / bottom->FrameCount;
    const int menuHeight = 22;

    // The client area first, then the frame around it.
    const QRect client(lw, th + menuHeight, W - lw - rw, H - th - menuHeight - bh);
    p.fillRect(client, qcolour(skin.colour(colour::ButtonFace)));
    auto border = [&](const TDataSkinBorder* b, const QRect& r, bool vertical) {
        DrawFrame(p, r, b->Image, vertical, b->Tile != 1, true, b->FrameCount,
                  b->FrameCount > 1 ? frame : 1, b->margins());
    };
    border(left, QRect(0, 0, lw, H), false);
    border(right, QRect(W - rw, 0, rw, H), false);
    border(bottom, QRect(lw, H - bh, W - lw - rw, bh), true);
    border(top, QRect(lw, 0, W - lw - rw, th), true);

    // Caption text on its band.
    const TDataSkinTitle* title = skin.title();
    const QString caption = QStringLiteral("Marvanto 店铺管家");
    p.setFont(font(skin.title()->FontHeight, true));
    const int textWidth = p.fontMetrics().horizontalAdvance(caption);
    const QRect block(lw + title->LeftWidth, 0,
                      textWidth + title->TXTBackleft + title->TXTBackRight, th);
    if (!title->Image.isNull())
        DrawHorzBar(p, block, title->Image, true, true, 2, frame,
                    {title->TXTBackleft, 0, title->TXTBackRight, 0});
    p.setPen(qcolour(skin.colour(active ? colour::TitleTextActive : colour::TitleTextNoActive)));
    p.drawText(block.adjusted(title->TXTBackleft, title->TopHeight / 2, -title->TXTBackRight, 0),
               Qt::AlignVCenter | Qt::AlignLeft, caption);

    // Caption buttons of a window that is not maximized.
    for (const auto& button : skin.captionButtons()) {
        const int v = button->Visibility;
        if (button->Image.isNull() || !(v == 0 || v == 2 || v == 8))
            continue;
        const int bw = button->Image.width() / button->FrameCount;
        const QPoint at = button->Align == 1 ? QPoint(W - button->Xcoord, button->Ycoord)
                                             : QPoint(button->Xcoord, button->Ycoord);
        const int shown = button->FrameCount < 4 || active ? 1 : 4;
        DrawFrameScaled(p, QRect(at, QSize(bw, button->Image.height())), button->Image, true,
                        button->FrameCount, shown);
    }

    // Menu bar with the second item under the mouse.
    const QRect bar(lw, th, W - lw - rw, menuHeight);
    if (const TDataSkinObject* menu = skin.element(SkinElement::MenuBar))
        DrawFrame(p, bar, menu->Image, true, menu->Tile != 1, false, 2, frame, menu->margins());
    const QStringList items = {QStringLiteral("文 件"), QStringLiteral("工 具"),
                               QStringLiteral("帮 助")};
    QRect hotItem;
    for (int i = 0; i < items.size(); ++i) {
        const QRect item(bar.x() + 4 + 52 * i, bar.y() + 1, 50, menuHeight - 3);
        if (i == 1 && active) {
            // The bar item under the mouse: a one-pixel outline.
            p.setPen(qcolour(skin.colour(colour::ButtonHilight)));
            p.drawRect(item.adjusted(0, 0, -1, -1));
            hotItem = item;
        }
        text(p, item, items[i], skin.colour(colour::MenuBarText));
    }

    // A page control with three tabs.
    const QRect pages(client.x() + 10, client.y() + 10, client.width() - 44, 150);
    const QRect pane(pages.x(), pages.y() + 23, pages.width(), pages.height() - 23);
    frameInto(p, pane, skin.element(SkinElement::TabPane), false, 1);
    const QStringList tabs = {QStringLiteral("综合管理"), QStringLiteral("数据维护"),
                              QStringLiteral("关于我们")};
    for (int i = tabs.size() - 1; i >= 0; --i) {
        const QRect tab(pages.x() + 2 + 72 * i, pages.y(), 72, 24);
        frameInto(p, tab, skin.element(SkinElement::Tabs), false, i == 0 ? 2 : (i == 2 ? 3 : 1));
        text(p, tab.adjusted(0, 2, 0, 0), tabs[i], skin.colour(colour::ButtonText));
    }

    // Inside the page: an edit, a combo box, check marks, buttons, progress.
    const QRect edit(pane.x() + 12, pane.y() + 12, 120, 21);
    p.fillRect(edit, Qt::white);
    p.setPen(qcolour(skin.colour(colour::ButtonShadow)));
    p.drawRect(edit.adjusted(0, 0, -1, -1));
    text(p, edit.adjusted(6, 0, 0, 0), QStringLiteral("大米 5kg"), skin.colour(colour::WindowText),
         Qt::AlignVCenter | Qt::AlignLeft);
    const QRect combo(edit.right() + 10, edit.y(), 120, 21);
    p.fillRect(combo.adjusted(2, 2, -2, -2), Qt::white);
    if (const TDataSkinObject* button = skin.element(SkinElement::ComboButton))
        DrawFrame(p, combo, button->Image, false, false, true, 4, 1, button->margins());
    text(p, combo.adjusted(6, 0, 0, 0), QStringLiteral("350"), skin.colour(colour::WindowText),
         Qt::AlignVCenter | Qt::AlignLeft);

    const TDataSkinButton* b = skin.buttons();
    const int cw = b->CheckImage.width() / std::max(b->CheckButtonFrame, 1);
    DrawFrameScaled(p, QRect(pane.x() + 12, pane.y() + 44, cw, b->CheckImage.height()),
                    b->CheckImage, true, b->CheckButtonFrame, 5);
    text(p, QRect(pane.x() + 30, pane.y() + 40, 80, 20), QStringLiteral("已付款"),
         skin.colour(colour::WindowText), Qt::AlignVCenter | Qt::AlignLeft);
    const int rwidth = b->RadioImage.width() / std::max(b->RadioButtonFrame, 1);
    DrawFrameScaled(p, QRect(pane.x() + 100, pane.y() + 44, rwidth, b->RadioImage.height()),
                    b->RadioImage, true, b->RadioButtonFrame, 5);
    text(p, QRect(pane.x() + 118, pane.y() + 40, 80, 20), QStringLiteral("现金"),
         skin.colour(colour::WindowText), Qt::AlignVCenter | Qt::AlignLeft);

    paintPushButton(p, skin, QRect(pane.x() + 12, pane.y() + 70, 72, 25), 1,
                    QStringLiteral("添加"));
    paintPushButton(p, skin, QRect(pane.x() + 92, pane.y() + 70, 72, 25), active ? 4 : 1,
                    QStringLiteral("编辑"));
    paintPushButton(p, skin, QRect(pane.x() + 172, pane.y() + 70, 72, 25), active ? 5 : 3,
                    QStringLiteral("删除"));

    if (const TDataSkinObject* bar = skin.element(SkinElement::Progress)) {
        const QRect track(pane.x() + 12, pane.y() + 104, pane.width() - 24, 14);
        frameInto(p, track, bar, false, 1);
        frameInto(p, QRect(track.topLeft(), QSize(track.width() * 3 / 5, track.height())), bar,
                  false, 2);
    }

    // A vertical scroll bar beside the pages.
    const TDataSkinObject* parts = skin.element(SkinElement::Scrollbar);
    const TDataSkinObject* track = skin.element(SkinElement::VertScroll);
    const TDataSkinObject* thumb = skin.element(SkinElement::VertScrollThumb);
    if (parts && track && thumb) {
        const int t = parts->Image.height();
        const QRect barRect(pages.right() + 8, pages.y(), t, pages.height());
        frameInto(p, barRect.adjusted(0, t, 0, -t), track, false, 1);
        DrawFrameScaled(p, QRect(barRect.topLeft(), QSize(t, t)), parts->Image, true, 23, 9);
        DrawFrameScaled(p, QRect(barRect.x(), barRect.bottom() + 1 - t, t, t), parts->Image, true,
                        23, 13);
        const QRect thumbRect(barRect.x(), barRect.y() + t + 20, t, 40);
        frameInto(p, thumbRect, thumb, false, 1);
        DrawFrameScaled(p, QRect(thumbRect.x(), thumbRect.y() + 12, t, t), parts->Image, true, 23,
                        20);
    }

    // A group box with its label under the pages.
    if (const TDataSkinObject* edge = skin.element(SkinElement::GroupBoxEdge)) {
        const QRect box(pages.x(), pages.bottom() + 14, pages.width() + 24, 50);
        frameInto(p, box, edge, false, 1);
        const QRect label(box.x() + 10, box.y() - 9, 60, 18);
        frameInto(p, label, skin.element(SkinElement::GroupBox), false, 1);
        text(p, label, QStringLiteral("备 注"), skin.colour(colour::ButtonText));
        text(p, box.adjusted(12, 12, 0, 0), QStringLiteral("周五进货:面粉 20 袋"),
             skin.colour(colour::WindowText), Qt::AlignTop | Qt::AlignLeft);
    }

    if (active)
        paintDropDown(p, skin, hotItem.bottomLeft() + QPoint(0, 2));

    // Status bar with two lowered panels and the size grip.
    const TDataSkinObject* edges = skin.element(SkinElement::StatusBarEdges);
    const QRect status(client.x(), client.bottom() - 21, client.width(), 22);
    const QRect panels[2] = {
        QRect(status.x() + 2, status.y() + 2, status.width() / 2 - 4, 19),
        QRect(status.x() + status.width() / 2, status.y() + 2, status.width() / 2 - 20, 19)};
    const QString panelTexts[2] = {QStringLiteral("共3个记录"),
                                   QStringLiteral("2026-12-9 8:00:00")};
    for (int i = 0; i < 2; ++i) {
        frameInto(p, panels[i], edges, false, 1);
        text(p, panels[i].adjusted(6, 0, 0, 0), panelTexts[i],
             edges ? edges->NormalColour2 : skin.colour(colour::WindowText),
             Qt::AlignVCenter | Qt::AlignLeft, 11);
    }
    if (const TDataSkinObject* extra = skin.element(SkinElement::ExtraImages))
        DrawFrameScaled(p, QRect(status.right() - 16, status.bottom() - 16, 16, 16), extra->Image,
                        true, extra->FrameCount, 5);
    p.restore();
}

void checkerboard(QPainter& p, const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); y += 4)
        for (int x = r.left(); x <= r.right(); x += 4)
            p.fillRect(QRect(x, y, 4, 4) & r, ((x - r.left()) / 4 + (y - r.top()) / 4) % 2
                                                  ? QColor(226, 222, 214)
                                                  : QColor(240, 237, 231));
}

struct Entry {
    QString name;
    QImage image;
    int frames;
    bool vertical;
};

QList<Entry> entries(const TSkinData& skin) {
    QList<Entry> list;
    const char* const sides[] = {"Left", "Right", "Top", "Bottom"};
    for (int side = 0; side < 4; ++side) {
        const TDataSkinBorder* b = skin.border(side);
        list.append({QString::fromLatin1(sides[side]), b->Image, b->FrameCount, side >= 2});
    }
    list.append({QStringLiteral("Title (TextBack)"), skin.title()->Image, 2, true});
    for (const auto& button : skin.captionButtons())
        list.append({button->Name, button->Image, button->FrameCount, false});
    const TDataSkinButton* b = skin.buttons();
    list.append({QStringLiteral("Buttons"), b->Image, b->FrameCount, false});
    list.append({QStringLiteral("Buttons: check box"), b->CheckImage, b->CheckButtonFrame, false});
    list.append(
        {QStringLiteral("Buttons: radio button"), b->RadioImage, b->RadioButtonFrame, false});
    const char* const names[] = {"Progress",
                                 "Progress.Chunk",
                                 "menu bar",
                                 "GroupBoxEdge",
                                 "GroupBox",
                                 "Tabs",
                                 "StatusBarEdges",
                                 "Tab.Pane",
                                 "ToolBars",
                                 "ComboButton",
                                 "SunkEdge",
                                 "ExtraImages",
                                 "Headerbar",
                                 "MenuItem",
                                 "MenuBackground",
                                 "Scrollbar",
                                 "HorzScroll",
                                 "VertScroll",
                                 "HorzScrollThumb",
                                 "VertScrollThumb",
                                 "Trackbar.ThumbHorz",
                                 "Trackbar.ThumbVert",
                                 "Trackbar.ThumbLeft",
                                 "Trackbar.ThumbRight",
                                 "Trackbar.ThumbUp",
                                 "Trackbar.ThumbDown",
                                 "UpDown.Horz",
                                 "UpDown.Vert",
                                 "Track",
                                 "TRACKVERT"};
    for (int i = 0; i < static_cast<int>(SkinElement::Count); ++i) {
        const auto which = static_cast<SkinElement>(i);
        const TDataSkinObject* e = skin.element(which);
        if (!e)
            continue;
        const QString name = QString::fromLatin1(names[i]);
        list.append({name, e->Image, e->FrameCount, which == SkinElement::MenuBar});
        if (const auto* border = dynamic_cast<const TDataSkinBorder*>(e);
            border && !border->Image2.isNull())
            list.append({name + QStringLiteral(": second picture"), border->Image2,
                         which == SkinElement::Tabs ? 1 : e->FrameCount, false});
    }
    list.append({QStringLiteral("ComboxArrow"), skin.comboxArrow()->Image,
                 skin.comboxArrow()->FrameCount, false});
    list.append({QStringLiteral("Toolbar"), skin.toolbar()->Image, 1, false});
    return list;
}

// Where each frame of an entry goes inside its card, and the card's size.
struct Card {
    QSize size;
    QSize frame;
    QList<QPoint> places;
};

constexpr int Scale = 2, CardWidth = 470, LabelHeight = 34, Gap = 8;

Card layOut(const Entry& e) {
    Card card;
    const int frames = std::max(e.frames, 1);
    if (!e.image.isNull())
        card.frame = e.vertical ? QSize(e.image.width(), e.image.height() / frames)
                                : QSize(e.image.width() / frames, e.image.height());
    const QSize shown = card.frame * Scale;
    int x = 0, y = LabelHeight, right = 150;
    for (int n = 0; n < frames && !e.image.isNull(); ++n) {
        if (x > 0 && x + shown.width() > CardWidth) {
            x = 0;
            y += shown.height() + 16;
        }
        card.places.append(QPoint(x, y));
        x += shown.width() + Gap;
        right = std::max(right, x);
    }
    card.size = QSize(right, y + (e.image.isNull() ? 0 : shown.height() + 14));
    return card;
}

void paintCard(QPainter& p, QPoint at, const Entry& e, const Card& card) {
    p.setFont(font(12, true));
    p.setPen(Caption);
    p.drawText(QRect(at, QSize(CardWidth, 16)), Qt::AlignLeft | Qt::AlignVCenter, e.name);
    p.setFont(font(10));
    p.setPen(Faint);
    const QString info = e.image.isNull() ? QStringLiteral("no picture")
                                          : QStringLiteral("%1 × %2, %3 frame%4%5")
                                                .arg(e.image.width())
                                                .arg(e.image.height())
                                                .arg(e.frames)
                                                .arg(e.frames == 1 ? "" : "s")
                                                .arg(e.vertical ? ", stacked" : "");
    p.drawText(QRect(at + QPoint(0, 15), QSize(CardWidth, 14)), Qt::AlignLeft | Qt::AlignVCenter,
               info);
    const QSize shown = card.frame * Scale;
    for (int n = 1; n <= card.places.size(); ++n) {
        const QRect target(at + card.places[n - 1], shown);
        checkerboard(p, target);
        DrawFrame(p, target, e.image, e.vertical, false, true, card.places.size(), n, {});
        p.setFont(font(9));
        p.setPen(Faint);
        p.drawText(QRect(target.x(), target.bottom() + 1, shown.width(), 13), Qt::AlignCenter,
                   QString::number(n));
    }
}

} // namespace

QImage drawSkinSheet(const QByteArray& packedSkin) {
    TSkinData skin;
    QByteArray stream(4, '\0');
    qToLittleEndian(static_cast<qint32>(packedSkin.size()), stream.data());
    stream += packedSkin;
    QBuffer buffer(&stream);
    buffer.open(QIODevice::ReadOnly);
    skin.readSkinStream(buffer);

    // The cards flow left to right in rows.
    const int width = 1000, margin = 16, windowsBottom = 48 + 300 + 24;
    const QList<Entry> list = entries(skin);
    QList<QPoint> places;
    QList<Card> cards;
    int x = margin, y = windowsBottom + 12, rowHeight = 0;
    for (const Entry& e : list) {
        const Card card = layOut(e);
        if (x > margin && x + card.size.width() > width - margin) {
            x = margin;
            y += rowHeight + 14;
            rowHeight = 0;
        }
        places.append(QPoint(x, y));
        cards.append(card);
        x += card.size.width() + 24;
        rowHeight = std::max(rowHeight, card.size.height());
    }
    const int height = y + rowHeight + margin;

    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(SheetBack);
    QPainter p(&sheet);
    p.setFont(font(18, true));
    p.setPen(Caption);
    p.drawText(QRect(margin, 8, width, 28), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("%1 — every element, every frame").arg(skin.skinName()));
    paintWindow(p, skin, QRect(margin, 48, 470, 300), true);
    paintWindow(p, skin, QRect(width - margin - 470, 48, 470, 300), false);
    p.setPen(QColor(228, 222, 210));
    p.drawLine(margin, windowsBottom, width - margin, windowsBottom);
    for (qsizetype i = 0; i < list.size(); ++i)
        paintCard(p, places[i], list[i], cards[i]);
    p.end();
    return sheet;
}

} // namespace skinart
