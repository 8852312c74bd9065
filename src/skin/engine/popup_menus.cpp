#include "skin/engine/popup_menus.h"

#include "skin/data/skin_data.h"
#include "skin/engine/message.h"

#include <QMenu>

namespace skin {

TWinSkinPopMenu::TWinSkinPopMenu(QMenu* menu, TSkinData* skinData)
    : mMenu(menu), mSkinData(skinData) {
    registerSkinMessages();
    if (menu)
        menu->installEventFilter(this);
}

TWinSkinPopMenu::~TWinSkinPopMenu() {
    Unwrap();
}

void TWinSkinPopMenu::Unwrap() {
    if (mMenu)
        mMenu->removeEventFilter(this);
    mMenu = nullptr;
}

bool TWinSkinPopMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched != mMenu)
        return false;
    Message* m = skinMessageOf(event);
    if (m && m->msg == SM_ISSKINNED) {
        answer(*m, 1);
        return true;
    }
    return false;
}

} // namespace skin
