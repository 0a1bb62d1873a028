#pragma once

#include <QSocketNotifier>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/hot_key.h"
#include "platform/x11_connection.h"

namespace hinagiku::platform {

// A passive key grab on the root window of an X11 display, on a connection
// of its own whose socket a QSocketNotifier watches. The grab is taken with
// every combination of CapsLock and NumLock, since X11 counts those as
// modifiers and the key must work whatever their state.
class X11HotKey final : public HotKey {
    Q_OBJECT
  public:
    X11HotKey(HotKeyModifier modifier, QObject* parent = nullptr,
              const std::string& displayName = {});
    ~X11HotKey() override;

    bool isRegistered() const override { return registered_; }

  private:
    void readEvents();

    X11Connection connection_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<std::uint8_t> keycodes_;
    std::uint16_t modifierMask_ = 0;
    std::uint16_t lockMasks_ = 0;
    std::vector<std::uint16_t> grabbedVariants_;
    bool registered_ = false;
};

}  // namespace hinagiku::platform
