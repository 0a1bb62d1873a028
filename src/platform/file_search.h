#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::platform {

// Wildcard match as the store searches: "?" is exactly one character, "*" any
// run (also empty); letters compare without regard to ASCII case, so files
// copied from a case-insensitive system are found.
bool wildcardMatch(std::string_view pattern, std::string_view name);

// `text` with ASCII letters in lower case: the key names compare by.
std::string foldAsciiCase(std::string_view text);

// Names (not paths) of the regular files directly in `folder` that match
// `pattern`, sorted by name (byte order). Directories never match. A missing
// or unreadable folder gives an empty list.
std::vector<std::string> findFiles(const std::filesystem::path& folder, std::string_view pattern);

// Whether a regular file `name` exists directly in `folder`; the name compares
// without regard to ASCII case. Returns the name as it is on disk.
bool fileExists(const std::filesystem::path& folder, std::string_view name,
                std::string* nameOnDisk = nullptr);

bool folderExists(const std::filesystem::path& folder);

// Whether `path` names a regular file (after links); an empty path names none.
bool isRegularFile(const std::filesystem::path& path);

// One listing of a folder that answers many probes, for callers that probe
// in bulk (month marks, the schedule list's range, the tick's minute probe).
// Answers exactly as fileExists/findFiles would at the moment of the listing.
class DirectorySnapshot {
  public:
    DirectorySnapshot() = default;
    explicit DirectorySnapshot(const std::filesystem::path& folder);

    bool exists(std::string_view name, std::string* nameOnDisk = nullptr) const;
    std::vector<std::string> find(std::string_view pattern) const;
    // Every regular file name, sorted.
    const std::vector<std::string>& names() const { return names_; }
    const std::filesystem::path& folder() const { return folder_; }

  private:
    std::filesystem::path folder_;
    std::vector<std::string> names_;        // sorted by byte order
    std::vector<std::string> foldedKeys_;   // lower-cased names, sorted, for exact probes
    std::vector<std::size_t> foldedIndex_;  // foldedKeys_[i] belongs to names_[foldedIndex_[i]]
};

}  // namespace hinagiku::platform
