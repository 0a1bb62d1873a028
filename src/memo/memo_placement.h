#pragma once

#include <string_view>

#include "platform/settings.h"

namespace hinagiku::memo {

struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const WindowRect&) const = default;
};

// Where a memo window opens in normal form: the memo's own top, left, Width
// and Height, else (when `useMemoDefaults`) those of [Memo], else values
// from the main window: below and right of it, as large as it. Division
// rounds toward zero, as the stored placements were made with it.
WindowRect normalPlacement(const platform::Settings& settings, std::string_view key,
                           const WindowRect& mainWindow, bool useMemoDefaults = true);

// The petit marker's place: P_Left and P_Top, else `current`.
WindowRect petitPlacement(const platform::Settings& settings, std::string_view key,
                          const WindowRect& current);

}  // namespace hinagiku::memo
