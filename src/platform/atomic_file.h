#pragma once

#include <filesystem>
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
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Reads a whole file; nothing when it is missing or unreadable.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes);

}  // namespace hinagiku::platform
