#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings.h"

namespace hinagiku::tools {

// One item of a launcher level as the editor keeps it.
struct LevelItem {
    std::string title;
    std::string command;
    bool submenu = false;
    friend bool operator==(const LevelItem&, const LevelItem&) = default;
};

// The items of level `level` (min(Count, 1 + highest item number), as the
// menu is built).
std::vector<LevelItem> readLauncherLevel(const platform::Settings& settings,
                                         std::string_view level);
// Whether a level has items ([ExecTitle_ + level] Count > 0).
bool levelHasItems(const platform::Settings& settings, std::string_view level);
// "保存": the three sections of `level` erased and written again (Count and
// every item); for "Main" also the flat copy [ExecTitle]/[ExecCommand]. One
// replacement of the settings.
void saveLauncherLevel(platform::Settings& settings, std::string_view level,
                       const std::vector<LevelItem>& items);

// The command stored for a chosen file: a path holding "?" is stored as "?" +
// path, so the split gives it back whole.
std::string commandForPath(std::string_view path);

// Why a title or command cannot be stored (a character the settings file's
// code page lacks, a line break), or nothing.
std::optional<std::string> launcherTextProblem(std::string_view text);

}  // namespace hinagiku::tools
