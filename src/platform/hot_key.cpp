#include "platform/hot_key.h"

#include "platform/x11_hot_key.h"

namespace hinagiku::platform {

HotKey::~HotKey() = default;

std::unique_ptr<HotKey> registerHotKey(HotKeyModifier modifier, QObject* parent,
                                       const std::string& displayName) {
    return std::make_unique<X11HotKey>(modifier, parent, displayName);
}

}  // namespace hinagiku::platform
