#pragma once

#include <array>
#include <cstdint>

#include "platform/settings.h"

namespace hinagiku::richtext::ui {

// The five recent text colours every formatting bar shares: [Nikki] Color1
// (newest) to Color5, each 255 (pure red) by default, stored as colour
// numbers.
class ColorHistory {
  public:
    static constexpr int kSize = 5;
    static constexpr std::int32_t kDefault = 255;

    explicit ColorHistory(platform::Settings& settings) : settings_(settings) {}

    std::array<std::int32_t, kSize> read() const;
    // Color5 takes Color4, ..., Color2 takes Color1, Color1 takes `value`.
    void push(std::int32_t value);

  private:
    platform::Settings& settings_;
};

}  // namespace hinagiku::richtext::ui
