#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings.h"

namespace hinagiku::platform {

// The settings file: Windows profile (INI) text in CP932 with CR LF line
// ends, read and written by the rules of the Windows profile functions so a
// file brought from Windows reads the same. Every call opens and closes the
// file; there is no cache. A write replaces the file whole (temporary file
// and rename) and keeps every other line, comment and unknown line as it
// was. A write the system refuses throws IoError naming the file.
class ProfileFile final : public Settings {
  public:
    explicit ProfileFile(std::filesystem::path path);
    // A file whose permissions every write keeps within `limit` (see
    // writeFileAtomically): 0600 for data only the owner may read.
    ProfileFile(std::filesystem::path path, std::filesystem::perms limit);

    std::string readText(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override;
    void writeText(std::string_view section, std::string_view key, std::string_view value) override;
    std::vector<std::string> listKeys(std::string_view section) const override;
    void eraseSection(std::string_view section) override;
    std::vector<SettingsEntry> listEntries(std::string_view section) const override;
    void edit(const std::function<void(SettingsEdit&)>& change) override;

    const std::filesystem::path& path() const { return path_; }

    // Longest value read, in CP932 bytes; longer values are cut.
    static constexpr std::size_t kMaxValueBytes = 1023;
    // Room for the key names of one section, each with its terminating zero.
    static constexpr std::size_t kKeyListBytes = 8192;

  private:
    std::filesystem::path path_;
    std::optional<std::filesystem::perms> limit_;
};

}  // namespace hinagiku::platform
