#include "richtext/ui/color_history.h"

#include <string>

namespace hinagiku::richtext::ui {
namespace {

std::string keyOf(int index) {
    return "Color" + std::to_string(index + 1);
}

}  // namespace

std::array<std::int32_t, ColorHistory::kSize> ColorHistory::read() const {
    std::array<std::int32_t, kSize> colors{};
    for (int i = 0; i < kSize; ++i)
        colors[static_cast<std::size_t>(i)] = settings_.readInt("Nikki", keyOf(i), kDefault);
    return colors;
}

void ColorHistory::push(std::int32_t value) {
    const auto colors = read();
    for (int i = kSize - 1; i > 0; --i)
        settings_.writeInt("Nikki", keyOf(i), colors[static_cast<std::size_t>(i - 1)]);
    settings_.writeInt("Nikki", keyOf(0), value);
}

}  // namespace hinagiku::richtext::ui
