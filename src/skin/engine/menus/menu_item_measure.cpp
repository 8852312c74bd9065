#include "skin/engine/menus/menu_item_measure.h"

#include <algorithm>

namespace skin {

QSize MenuItemSize(const MenuMeasureInput& in) {
    const QSize m = in.measured;
    switch (in.owner) {
    case MenuItemOwner::PopupMenu:
        return {m.width() + in.menuItemLeftWidth + 12 + (in.hasImageList ? 0 : 23), m.height()};
    case MenuItemOwner::BarDropDown:
        return {m.width() + in.menuItemLeftWidth + 10 + (in.hasImageList ? 0 : 25), m.height()};
    case MenuItemOwner::BareWindow:
        return {m.width() + 26 + in.menuItemLeftWidth, in.separator ? 8 : m.height() + 4};
    }
    return m;
}

int MenuItemFrame(bool separator, bool selected) {
    if (separator)
        return 2;
    return selected ? 4 : 1;
}

std::vector<ImagePiece> SeparatorPieces(const QRect& frame, const Margins& margins, QSize item) {
    int left = std::max(0, margins.left), right = std::max(0, margins.right);
    left = std::min(left, frame.width());
    right = std::min(right, frame.width() - left);
    if (left + right > item.width())
        left = right = 0;
    const int rows = std::min(item.height(), frame.height());
    const int sourceTop = frame.y() + frame.height() - rows;
    const int targetTop = item.height() - rows;

    std::vector<ImagePiece> pieces;
    auto add = [&](int sourceX, int sourceWidth, int targetX, int targetWidth) {
        if (sourceWidth > 0 && targetWidth > 0 && rows > 0)
            pieces.push_back({QRect(sourceX, sourceTop, sourceWidth, rows),
                              QRect(targetX, targetTop, targetWidth, rows)});
    };
    add(frame.x(), left, 0, left);
    add(frame.x() + left, frame.width() - left - right, left, item.width() - left - right);
    add(frame.x() + frame.width() - right, right, item.width() - right, right);
    return pieces;
}

QRect MenuBackgroundSource(const QRect& item) {
    return item.translated(MenuBorderWidth, MenuBorderWidth);
}

MenuItemContent MenuItemContentGeometry(const MenuContentInput& in) {
    const int w = in.item.width(), h = in.item.height();
    int column = in.imageWidth > 0 ? in.imageWidth : 16;
    if (in.checked)
        column = std::max(column, 16);
    MenuItemContent out;
    out.glyphColumn = QRect(1 + in.menuItemLeftWidth, 0, column, h);
    const int captionLeft = out.glyphColumn.x() + column + 3;
    out.caption = QRect(captionLeft, 0, w - 1 - captionLeft, h);
    out.shortcut = QRect(captionLeft, 0, w - 11 - captionLeft, h);
    if (in.rightToLeft) {
        auto mirror = [w](const QRect& r) {
            return QRect(w - r.x() - r.width(), r.y(), r.width(), r.height());
        };
        out.glyphColumn = mirror(out.glyphColumn);
        out.caption = mirror(out.caption);
        out.shortcut = mirror(out.shortcut);
        out.captionAlignment = TextAlignment::Right;
        out.shortcutAlignment = TextAlignment::Left;
    }
    return out;
}

SkinColor MenuItemTextColour(bool selected, bool enabled, const MenuColours& colours) {
    if (!enabled)
        return colours.buttonShadow == colours.menuText ? colours.systemButtonShadow
                                                        : colours.buttonShadow;
    return selected ? colours.hilightText : colours.menuText;
}

} // namespace skin
