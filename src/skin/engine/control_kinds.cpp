#include "skin/engine/control_kinds.h"

#include "skin/engine/button_skins.h"
#include "skin/engine/edit_skins.h"
#include "skin/engine/progress_skin.h"

namespace skin {

void registerBuiltKinds() {
    registerButtonKinds();
    registerEditKinds();
    registerProgressKind();
}

} // namespace skin
