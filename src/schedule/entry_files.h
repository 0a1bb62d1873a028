#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/date_time.h"
#include "platform/settings.h"

namespace hinagiku::schedule {

// The data folder of the schedule ([Calendar] Directory), or the empty text
// when none is set ("."): readers then find nothing rather than looking in
// the current directory.
std::string scheduleFolder(const platform::Settings& settings);

// An entry file as loaded: the bytes as they are on disk (RTF as the editor
// wrote it, or plain CP932 text), and the text the day view, the list and
// the popup window show.
struct EntryContent {
    std::string bytes;
    std::string plainText() const;  // UTF-8, LF line ends, formatting dropped
};

// The file an entry path stands for: the file on disk when one exists whose
// name differs only in case (FAT media, copies from Windows), else `path`.
// Loading, saving and deleting all act on it, so no second file differing
// in case is ever made.
std::filesystem::path EntryPathOnDisk(const std::filesystem::path& path);

// The entry at `path` (any case); nothing when there is no such file (a directory is
// not an entry). Throws platform::IoError naming the file when it exists
// but cannot be read.
std::optional<EntryContent> LoadEntry(const std::filesystem::path& path);

// Writes the whole file (temporary file and rename), replacing any earlier
// one, under its name on disk when it exists in another case. Throws platform::IoError naming the
// file.
void SaveEntry(const std::filesystem::path& path, std::string_view richText);

// Whose entry options section DeleteEntry erases.
enum class OptionsErase {
    PopupAndUptime,  // the editors: only popup and uptime entries have options
    Always,          // the management window erases it for every entry
};

// Deletes the file (found in any case), then erases the entry options
// section (the section named by `path`; section names compare without
// regard to case). Returns false when there was no file to delete; throws
// platform::IoError when the system refuses, before the options are touched.
bool DeleteEntry(const std::string& path, platform::Settings& settings,
                 OptionsErase erase = OptionsErase::PopupAndUptime);

// A file test for one entry: letters of the name compare without regard to
// case; directories are not entries.
bool EntryExists(const std::filesystem::path& path);
// A wildcard search in the data folder, names sorted; directories never match.
std::vector<std::string> FindEntries(const std::filesystem::path& folder, std::string_view pattern);

// The popup editor's "スケジュールに追加": the dated to-do entry of `date` gets
// its own plain text (empty when there is none) immediately followed by
// `popupPlainText`, saved whole as rich text. Formatting is lost, nothing is
// put between the two.
void AddPopupToSchedule(std::string_view folder, DateTime date, std::string_view popupPlainText);

}  // namespace hinagiku::schedule
