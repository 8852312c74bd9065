#pragma once

#include "skin/engine/frame/form_frame_geometry.h"

#include <QAction>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>

#include <memory>
#include <vector>

class QFont;
class QFontMetrics;
class QPainter;

// The skinned menu bar drawn in the frame's menu band: its buttons, their
// places, which one the mouse or an arrow key reaches, and its picture.
namespace skin {

class TDataSkinObject;

// One button of the skinned menu bar, standing for a top-level menu item.
class TMenuBtn : public TNCObject {
public:
    using TNCObject::TNCObject;
    void Paint() override;

    // The menu bar's action it stands for; null once the action is gone.
    QPointer<QAction> item;
    int index = 0; // its place in the bar
    QString caption;
    bool hasDropDown = false;
    int command = 0;
};

using MenuButtons = std::vector<std::unique_ptr<TMenuBtn>>;

// A caption's width in the menu font, blanks included; an '&' marks the
// accelerator and takes no room ("&&" is one '&').
int MenuCaptionWidth(const QString& caption, const QFontMetrics& menuFont);

// Lays the buttons out in the bar (window coordinates): from an indent of 6
// (with a menu bar element: its LeftWidth + 4, or RightWidth + 8 from the right
// for a right-to-left bar, 12 when the bar is narrower than that), each
// visible button as wide as its caption plus 10 (a caption of no width adds
// nothing) and one pixel less high than the bar, one after the other; hidden
// buttons get an empty rectangle.
void LayoutMenuBar(MenuButtons& buttons, const QRect& bar, const QFontMetrics& menuFont,
                   const TDataSkinObject* menuBarElement, bool rightToLeft);

// The visible button with a caption under the point, or null.
TMenuBtn* MenuButtonAt(const MenuButtons& buttons, QPoint point);

// The accelerator of a caption (the character after a single '&'), or a null
// character.
QChar MenuAccelerator(const QString& caption);

// The index of the button that a keyboard menu command opens: the one whose
// accelerator is `key` (case does not matter), the first visible one for a
// null character (Alt alone, F10); -1 when none.
int MenuButtonForKey(const MenuButtons& buttons, QChar key);

// The step an arrow key takes in the menu loop of an open bar menu: -1 to the
// previous bar menu for Left while the open drop-down's own level is selected,
// +1 to the next for Right when the selected item opens no sub-menu, else 0.
// A right-to-left menu exchanges the two keys first.
int MenuLoopStep(int key, bool rightToLeft, bool atTopLevel, bool selectedHasSubMenu);

// The bar menu one step from `index`, in a circle: visible, enabled buttons
// with a caption only (a disabled one would open nothing and end the walk).
// `index` itself when there is no other; -1 for an empty bar.
int NextMenuButton(const MenuButtons& buttons, int index, int step);

// The bar's background: the menu bar element's first frame (second when the
// window is inactive) of its two stacked ones, stretched between its ends (Tile
// 1) or with its middle repeated; without the element the Menubar colour.
QImage MenuBarBackground(QSize size, const TSkinData& data, bool active);

// Paints one button over its part of the cached background (`background`
// covers `bar`): an outline in ButtonHilight while pressed or under the mouse,
// then the caption centred in MenuBarText, or greyed when disabled.
void PaintMenuButton(QPainter& painter, const TMenuBtn& button, const QImage& background,
                     const QRect& bar, const TSkinData& data, const QFont& menuFont);

// The whole bar: background, then every visible button.
void PaintMenuBar(QPainter& painter, const QRect& bar, const QImage& background,
                  const MenuButtons& buttons, const TSkinData& data, const QFont& menuFont);

} // namespace skin
