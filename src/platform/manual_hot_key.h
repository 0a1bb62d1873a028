#pragma once

#include "platform/hot_key.h"

namespace hinagiku::platform {

// A HotKey that a test presses by calling press().
class ManualHotKey final : public HotKey {
  public:
    explicit ManualHotKey(bool registered = true, QObject* parent = nullptr)
        : HotKey(parent), registered_(registered) {}
    bool isRegistered() const override { return registered_; }
    void press() { emit activated(); }

  private:
    bool registered_;
};

}  // namespace hinagiku::platform
