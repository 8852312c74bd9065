#pragma once

#include "skin/engine/menus/menu_bar_layout.h"

#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <QPointer>
#include <QRect>

class QKeyEvent;
class QPainter;

namespace skin {

class TSkinData;
class TWinSkinForm;

// The skinned menu bar of one window: a row of buttons in the frame's menu
// band mirroring the window's QMenuBar, which stays the owner of the actions
// but is hidden while the window is skinned. A button opens its drop-down
// under itself; while a bar menu is open, an application event filter plays
// the menu loop: the arrow keys and the mouse move between the bar's menus.
class TWinSkinMenu : public QObject {
    Q_OBJECT
public:
    TWinSkinMenu(TWinSkinForm& form, QMenuBar* bar, TSkinData& data);
    ~TWinSkinMenu() override;

    // One button per action of the menu bar, in order.
    void BuildBar();
    // The skin applied afresh: the buttons built again (not while a bar menu
    // is open) and the background painted again from the skin.
    void Reapply();
    // Places the buttons in the band (window coordinates).
    void Layout(const QRect& band);
    // The band's background (cached) and the buttons.
    void Paint(QPainter& painter, const QRect& band, bool active);

    const MenuButtons& buttons() const { return mButtons; }
    TMenuBtn* ButtonAt(QPoint point) const;
    // Opens the button's drop-down at its bottom-left corner (bottom-right for
    // a right-to-left window); a button without a drop-down triggers its
    // action; a disabled button does nothing.
    void OpenBarMenu(int index);
    // The bar menu the keyboard menu command opens: by accelerator, or the
    // first for a null character. False when no button answers.
    bool KeyMenu(QChar key);
    bool tracking() const { return mOpenIndex >= 0; }
    int openIndex() const { return mOpenIndex; }
    QMenu* openMenu() const { return mOpen; }
    QMenuBar* menuBar() const { return mBar; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool menuLoop(QMenu* menu, QEvent* event);
    void switchTo(int index);
    // Closes the open bar menu on the way to another.
    void switchAway();
    void menuHidden();
    // The buttons built again from the bar, placed in the last band, shown.
    void rebuildAndRepaint();
    bool rightToLeft() const;

    TWinSkinForm& mForm;
    TSkinData& mData;
    QPointer<QMenuBar> mBar;
    MenuButtons mButtons;
    QImage mBackground;
    QRect mBand; // where the buttons were last placed
    bool mBackgroundActive = false;
    int mOpenIndex = -1;
    QPointer<QMenu> mOpen;
    bool mSwitching = false;
    // The bar changed while one of its menus was open: built again once it closes.
    bool mBarChanged = false;
};

} // namespace skin
