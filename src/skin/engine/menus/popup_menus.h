#pragma once

#include "skin/engine/menus/menu_item_measure.h"

#include <QImage>
#include <QObject>
#include <QPointer>

#include <QMenu>

namespace skin {

class TSkinData;

// The wrapper of one popup menu window while it is open: it sits on the menu
// as an event filter, answers SM_ISSKINNED, keeps the menu's skin data and
// the cached picture of its background. Unless the menu (or the menu it
// opened from) carries the skin data's DisableTag, the engine's menu style
// is set on the menu while it is wrapped: it paints the border and
// background from MenuBackground and measures and draws the items from
// MenuItem. The skin manager makes the wrapper when a menu is about to show
// and frees it when the menu hides or goes.
class TWinSkinPopMenu : public QObject {
    Q_OBJECT
public:
    TWinSkinPopMenu(QMenu* menu, TSkinData* skinData,
                    MenuItemOwner owner = MenuItemOwner::PopupMenu);
    ~TWinSkinPopMenu() override;

    QMenu* menu() const { return mMenu; }
    TSkinData* skinData() const { return mSkinData; }
    MenuItemOwner owner() const { return mOwner; }
    // Set for menus wrapped while the manager's popup mark is set.
    bool Marked = false;
    // The cached picture of the menu's background (empty until painted).
    const QImage& Background() const { return mBackground; }
    // True while the menu is drawn from the skin.
    bool drawsItems() const { return mStyled; }

    // Gives the menu back its own handling.
    void Unwrap();
    // Lets go of a menu that is being destroyed, without touching it.
    void Forget();

    // The wrapper drawing a menu, or null.
    static TWinSkinPopMenu* of(const QWidget* menu);
    // The background for a menu of the size, made once per size.
    const QImage& backgroundFor(QSize size);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QMenu> mMenu;
    QPointer<TSkinData> mSkinData;
    MenuItemOwner mOwner;
    QImage mBackground;
    bool mStyled = false;
    const QWidget* mKey = nullptr; // the menu in the table of wrappers
};

} // namespace skin
