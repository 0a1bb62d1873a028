#pragma once

#include <string>
#include <string_view>

#include "platform/settings.h"

namespace hinagiku::schedule {

// Keys of the entry options section of a popup or uptime entry: the
// settings-file section whose name is the entry's full path.
inline constexpr std::string_view kOptCloseTime = "closetime";
inline constexpr std::string_view kOptSound = "file";
inline constexpr std::string_view kOptPicture = "bitmap";
inline constexpr std::string_view kOptSmtp = "Smtp";
inline constexpr std::string_view kOptWallpaper = "Wallpaper";
inline constexpr std::string_view kOptStretch = "Stretch";
inline constexpr std::string_view kOptExecute = "Execute";
inline constexpr std::string_view kOptExeclose = "Execlose";

struct EntryOptions {
    int closeTime = -1;      // seconds until the window closes itself; -1 never, 0 not shown
    std::string soundFile;   // played when presented
    std::string picture;     // BMP or JPEG shown in the window
    bool smtp = false;       // also send the reminder mail
    bool wallpaper = false;  // make the picture the desktop wallpaper
    bool stretch = false;    // true: the picture is NOT stretched ("ストレッチ解除")
    std::string execute;     // program, optionally "?" and its parameters
    std::string execlose;    // part of a window title to close
    friend bool operator==(const EntryOptions&, const EntryOptions&) = default;
};

// Absent keys read as the defaults above, so options left behind by a moved
// data folder simply read as defaults.
EntryOptions readEntryOptions(const platform::Settings& settings, std::string_view entryPath);

// As the popup editor saves: the sound and the picture only when they were
// chosen in this editing, everything else always.
void writeEntryOptions(platform::Settings& settings, std::string_view entryPath,
                       const EntryOptions& options, bool soundChosen, bool pictureChosen);

}  // namespace hinagiku::schedule
