#include "skin/engine/control_kinds.h"

#include "skin/engine/bar_box_skins.h"
#include "skin/engine/button_skins.h"
#include "skin/engine/edit_skins.h"
#include "skin/engine/progress_skin.h"
#include "skin/engine/scroll_bar_skins.h"
#include "skin/engine/tab_skins.h"

namespace skin {

void registerBuiltKinds() {
    for (const auto& module :
         {buttonKinds, editKinds, progressKinds, scrollBarKinds, barBoxKinds, tabKinds})
        for (auto& [kind, factory] : module())
            registerSkinKindDefault(kind, std::move(factory));
}

} // namespace skin
