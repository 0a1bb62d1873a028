#include "memo/memo_placement.h"

#include <optional>
#include <string>

namespace hinagiku::memo {
namespace {

// A stored integer, nothing when unset or empty.
std::optional<int> storedInt(const platform::Settings& settings, std::string_view section,
                             std::string_view key) {
    if (settings.readText(section, key, "").empty())
        return std::nullopt;
    return settings.readInt(section, key, 0);
}

int pick(const platform::Settings& settings, std::string_view key, std::string_view name,
         bool useMemoDefaults, int fallback) {
    if (const auto own = storedInt(settings, key, name))
        return *own;
    if (useMemoDefaults)
        if (const auto shared = storedInt(settings, "Memo", name))
            return *shared;
    return fallback;
}

}  // namespace

WindowRect normalPlacement(const platform::Settings& settings, std::string_view key,
                           const WindowRect& mainWindow, bool useMemoDefaults) {
    WindowRect r;
    r.top = pick(settings, key, "top", useMemoDefaults, mainWindow.top / 2 + mainWindow.height);
    r.left = pick(settings, key, "left", useMemoDefaults, mainWindow.left / 2 + mainWindow.width);
    r.width = pick(settings, key, "Width", useMemoDefaults, mainWindow.width);
    r.height = pick(settings, key, "Height", useMemoDefaults, mainWindow.height);
    return r;
}

WindowRect petitPlacement(const platform::Settings& settings, std::string_view key,
                          const WindowRect& current) {
    WindowRect r{current.left, current.top, 16, 16};
    if (const auto left = storedInt(settings, key, "P_Left"))
        r.left = *left;
    if (const auto top = storedInt(settings, key, "P_Top"))
        r.top = *top;
    return r;
}

}  // namespace hinagiku::memo
