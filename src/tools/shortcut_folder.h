#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::tools {

// One file of the shortcut folder.
struct ShortcutName {
    std::string display;  // the name without its extension, as UTF-8 (CP932 names decoded)
    std::string file;     // the name's bytes on disk
};

// A name's bytes as text: UTF-8 as it is, anything else (a Windows
// archive's CP932 name) decoded.
std::string displayName(std::string_view bytes);

// The file name's extension with its period, "" when there is none (a
// leading period, as in ".bashrc", starts no extension).
std::string_view fileExtension(std::string_view name);

// The listing the command box offers: every file (folders left out; a
// symbolic link to a file counts, a dangling one does not), sorted by display
// name. An unreadable or missing folder lists nothing.
class ShortcutFolder {
  public:
    explicit ShortcutFolder(std::filesystem::path folder);

    // The folder: home/"Shortcut".
    static std::filesystem::path defaultPath();

    // Lists the folder again, creating it when missing. Returns false (with
    // `error` set) when it cannot be read.
    bool refresh(std::string* error = nullptr);

    const std::filesystem::path& path() const { return folder_; }
    const std::vector<ShortcutName>& names() const { return names_; }

    // Names that start with `typed`, literally ("a*" and "../x" are names),
    // ASCII case ignored.
    std::vector<std::string> completions(std::string_view typed) const;
    // Whether the first completion equals `typed` (the grey box).
    bool firstCompletionEquals(std::string_view typed) const;
    // The file Enter runs for `typed`: the first (by name) whose name without
    // its extension equals it, ASCII case ignored; empty when there is none.
    std::filesystem::path find(std::string_view typed) const;

  private:
    std::filesystem::path folder_;
    std::vector<ShortcutName> names_;
    std::vector<std::string> folded_;  // ASCII-folded display names, same order
};

}  // namespace hinagiku::tools
