#include "schedule/ui/popup_hooks.h"

#include <utility>

namespace hinagiku::schedule {

PopupHooks& popupHooks() {
    static PopupHooks hooks;
    return hooks;
}

void setPopupHooks(PopupHooks hooks) {
    popupHooks() = std::move(hooks);
}

}  // namespace hinagiku::schedule
