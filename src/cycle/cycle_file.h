#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cycle/cycle_data.h"
#include "platform/profile_file.h"
#include "platform/settings.h"

namespace hinagiku::cycle {

// Health data: the folder and the file are for their owner alone.
inline constexpr std::filesystem::perms kFolderPermissions = std::filesystem::perms::owner_all;
inline constexpr std::filesystem::perms kFilePermissions =
    std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;

// The Period folder directly in the private folder, found in any case and
// made (owner-only) when missing. Nothing when it cannot be had: a private
// folder that is not there (a medium not mounted) gets nothing made in its
// place.
std::optional<std::filesystem::path> preparePeriodFolder(const std::string& privateFolder);

// "Period.ini" in the folder, found in any case.
std::filesystem::path periodFilePath(const std::filesystem::path& folder);

// The numbered keys of a [Period] section: every key that is a decimal
// number, in the order of that number, with its value as the profile
// functions read it (blanks and one pair of quotes removed).
std::vector<std::string> numberedEntries(const std::vector<platform::SettingsEntry>& entries);

// The cycle file, Period.ini: Windows profile text read and written through
// platform::ProfileFile, kept owner-only. Lines the tracker does not change
// stay as they are.
class CycleFile final : public CycleData {
  public:
    // `settings` is the settings file, whose [Period] date list (of old
    // versions) joins the cycle file's own when the entries are loaded.
    CycleFile(platform::Settings& settings, const std::filesystem::path& folder);

    const std::filesystem::path& path() const { return file_.path(); }
    platform::Settings& file() { return file_; }

    std::vector<std::string> loadEntries() override;
    int periodDays() override;
    void writeEntries(const std::vector<std::string>& entries) override;
    void writeAverage(bool rField, const std::string& text) override;
    void writePeriodDays(int days) override;
    std::string readMemo(const std::string& entry) override;
    void writeMemo(const std::string& entry, const std::string& text) override;

  private:
    platform::Settings& settings_;
    platform::ProfileFile file_;
};

}  // namespace hinagiku::cycle
