#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace hinagiku::platform {

// An I/O failure; the message names the file.
class IoError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Replaces the file at `path` with `bytes` as a whole: written to a temporary
// file in the same folder, flushed to the disk and renamed over the old one,
// so a crash or power loss leaves either the old or the new file. A symbolic
// link is followed (the link stays) and an existing file keeps its
// permissions. Throws IoError naming the file when the system refuses.
//
// `limit` keeps the file within a set of permissions (0600 for files only
// their owner may read): the new file gets the old one's permissions, or the
// default ones, with every bit outside `limit` taken away, so a wider file
// is narrowed by the write. The temporary file is created owner-only and
// never holds wider permissions than the result. Where the file system keeps
// no permissions (vfat), nothing changes.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::optional<std::filesystem::perms> limit = std::nullopt);

// Reads a whole file; nothing when it is missing or unreadable.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes);

}  // namespace hinagiku::platform
