#include "skin/engine/manager/control_kinds.h"

#include "skin/engine/controls/bar_box_skins.h"
#include "skin/engine/controls/button_skins.h"
#include "skin/engine/controls/edit_skins.h"
#include "skin/engine/controls/progress_skin.h"
#include "skin/engine/controls/scroll_bar_skins.h"
#include "skin/engine/controls/tab_skins.h"

namespace skin {

void registerBuiltKinds() {
    for (const auto& module :
         {buttonKinds, editKinds, progressKinds, scrollBarKinds, barBoxKinds, tabKinds})
        for (auto& [kind, factory] : module())
            registerSkinKindDefault(kind, std::move(factory));
}

} // namespace skin
