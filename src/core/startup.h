#pragma once

#include <filesystem>
#include <string_view>

#include "platform/settings.h"

namespace hinagiku::core {

inline constexpr std::string_view kApplicationTitle = "Hinagiku";
inline constexpr std::string_view kVersionLabel = "Version 2.70";

// Start-up step: a data folder that no longer exists becomes unset (".").
void checkDataFolder(platform::Settings& settings);

// Start-up step at the first start ([Horiday] Set still 0): writes the flag
// and the default holiday table, switches the holiday law on, creates the
// "Schedule" folder in the home folder (a failure is ignored) and stores it
// as the data folder. Returns whether this was the first start (the settings
// dialog then opens).
bool runFirstStart(platform::Settings& settings, const std::filesystem::path& home);

// Start-up step: stores the version label when it differs from the last
// start's. Returns whether it differed (the settings dialog then opens).
bool checkVersion(platform::Settings& settings);

// [Form] Interval in milliseconds. Values below 100 would make the timer
// spin and fall back to the default of 1000.
int mainTimerInterval(const platform::Settings& settings);

}  // namespace hinagiku::core
