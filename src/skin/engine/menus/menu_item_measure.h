#pragma once

#include "skin/data/skin_elements.h"
#include "skin/engine/controls/control_geometry.h"

#include <QRect>
#include <QSize>

#include <vector>

// The items of skinned popup menus worked out without a window: how large
// each item is, which MenuItem frame it shows, where a separator's pieces of
// frame 2 go, where the glyph, caption and shortcut go, and the caption's
// colour. Text sizes are measured by the caller.
namespace skin {

// The border of a skinned menu window inside which its items lie.
constexpr int MenuBorderWidth = 3;

// Whose menu an item belongs to, which decides how it is measured.
enum class MenuItemOwner {
    PopupMenu,   // a popup menu of a form
    BarDropDown, // a drop-down (or a submenu of one) of a form's menu bar
    BareWindow,  // a native drop-down of a window without a form's menu
};

struct MenuMeasureInput {
    MenuItemOwner owner = MenuItemOwner::PopupMenu;
    // What the menu measured for the item; for a bare window's item, the size
    // of its menu text.
    QSize measured;
    bool separator = false;
    bool hasImageList = false; // the menu has pictures for its items
    int menuItemLeftWidth = 0; // MenuItem's LeftWidth; 0 without that element
};
// Popup items: the measured width + LeftWidth + 12, and 23 more without an
// image list; bar drop-down items the same with 10 and 25; both keep the
// measured height. A bare window's items: text width + 26 + LeftWidth, and
// the text's height + 4, or 8 for a separator.
QSize MenuItemSize(const MenuMeasureInput& input);

// MenuItem's frame (5 frames): 2 for a separator, 4 for a selected item, else 1.
int MenuItemFrame(bool separator, bool selected);

// A piece of a picture: copied from `source` in the image to `target` in the item.
struct ImagePiece {
    QRect source;
    QRect target;
};
// A separator from the frame `frame` (its rectangle in MenuItem's image): its
// left LeftWidth and right RightWidth columns at their width and its middle
// stretched between them, all from the frame's bottom rows, the item's height
// of them at most, so a low item shows the frame's lower rows at its bottom.
// Margins wider than the item are left out.
std::vector<ImagePiece> SeparatorPieces(const QRect& frame, const Margins& margins, QSize item);

// Where the cached menu background is read for an item at `item` (in the
// menu's coordinates): the window picture includes the menu's border.
QRect MenuBackgroundSource(const QRect& item);

struct MenuContentInput {
    QSize item;
    int imageWidth = 0;        // the image list's picture width; 0 without a list
    bool checked = false;      // the item carries a check mark
    int menuItemLeftWidth = 0; // MenuItem's LeftWidth; 0 without that element
    bool rightToLeft = false;
};
struct MenuItemContent {
    QRect glyphColumn;
    QRect caption;
    QRect shortcut;
    TextAlignment captionAlignment = TextAlignment::Left;
    TextAlignment shortcutAlignment = TextAlignment::Right;
};
// The glyph column (as wide as the pictures, 16 without them and at least 16
// with a check mark) 1 pixel plus LeftWidth from the left; the caption from 3
// pixels right of it to 1 pixel before the item's right edge; the shortcut
// ending 11 pixels before that edge, right-aligned. Right-to-left items are
// the mirror image.
MenuItemContent MenuItemContentGeometry(const MenuContentInput& input);

struct MenuColours {
    SkinColor menuText = 0;
    SkinColor hilightText = 0;
    SkinColor buttonShadow = 0;       // the skin's
    SkinColor systemButtonShadow = 0; // the platform's
};
// HilightText when selected, MenuText otherwise; a disabled item in
// ButtonShadow, or in the platform's shadow colour when the skin's equals its
// MenuText (the item would not look disabled).
SkinColor MenuItemTextColour(bool selected, bool enabled, const MenuColours& colours);

} // namespace skin
