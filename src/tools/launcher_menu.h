#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/settings.h"

namespace hinagiku::tools {

// One item of the built launcher menu.
struct LauncherItem {
    enum class Kind { Item, Submenu, Separator };
    Kind kind = Kind::Item;
    std::string title;
    std::string command;  // items only
    int number = 0;       // the key of [ExecCommand] for items
    std::string level;    // the level the item belongs to ("Main", "Main-Tools", ...)
    std::vector<LauncherItem> children;
    friend bool operator==(const LauncherItem&, const LauncherItem&) = default;
};

struct LauncherMenu {
    std::vector<LauncherItem> items;
    // [ExecCommand]: number -> command text of every item, in number order.
    std::vector<std::pair<int, std::string>> commands;
};

// How the builder reads the settings: one view of the file (an edit's) or
// the store itself.
class LauncherSource {
  public:
    virtual ~LauncherSource() = default;
    virtual std::string readText(std::string_view section, std::string_view key) const = 0;
    virtual std::vector<platform::SettingsEntry> entries(std::string_view section) const = 0;
};

// The number of items of `level`: min(Count, 1 + the highest item number in
// its three sections).
int launcherLevelCount(const LauncherSource& source, const std::string& level);

// Builds the menu of "Main" and its two levels of submenus. A level has
// min(Count, 1 + highest item number in its three sections) items, so a
// damaged Count never runs away; a "-" title is a separator whatever its
// submenu flag, and nothing is read below it.
LauncherMenu buildLauncherMenu(const LauncherSource& source);
// The same on the store as it is, writing nothing.
LauncherMenu readLauncherMenu(const platform::Settings& settings);
// BuildLauncherMenu: one read of the settings and one replacement that
// rewrites [ExecCommand] for the menu built.
LauncherMenu BuildLauncherMenu(platform::Settings& settings);

// ExecMenuClick's lookup: [ExecCommand] of the item's number.
std::string launcherCommand(const platform::Settings& settings, int number);

// The level name of a submenu below `level`.
std::string sublevelName(std::string_view level, std::string_view title);

}  // namespace hinagiku::tools
