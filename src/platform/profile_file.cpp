#include "platform/profile_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/profile_text.h"

namespace hinagiku::platform {
namespace {

// Serialises read-modify-write cycles of processes sharing the file (the
// program and hinagikuctl); readers need no lock since files are replaced
// by rename.
class FolderLock {
  public:
    explicit FolderLock(const std::filesystem::path& file) {
        std::filesystem::path folder = file.parent_path();
        if (folder.empty())
            folder = ".";
        fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ >= 0)
            ::flock(fd_, LOCK_EX);
    }
    ~FolderLock() {
        if (fd_ >= 0)
            ::close(fd_);  // closing releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    int fd_ = -1;
};

// A line break inside a value would split it into lines of its own.
std::string singleLine(std::string_view value) {
    std::string out(value);
    for (char& c : out) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return out;
}

}  // namespace

ProfileFile::ProfileFile(std::filesystem::path path) : path_(std::move(path)) {}

ProfileFile::ProfileFile(std::filesystem::path path, std::filesystem::perms limit)
    : path_(std::move(path)), limit_(limit) {}

std::string ProfileFile::readText(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
    std::string text;
    if (!readWholeFile(path_, text))
        return std::string(defaultValue);
    const auto value =
        profile_text::findValue(text, toCp932(section), toCp932(key), kMaxValueBytes);
    if (!value)
        return std::string(defaultValue);
    return fromCp932(*value);
}

void ProfileFile::writeText(std::string_view section, std::string_view key,
                            std::string_view value) {
    FolderLock lock(path_);
    std::string text;
    readWholeFile(path_, text);
    const auto updated =
        profile_text::withValue(text, toCp932(section), toCp932(key), toCp932(singleLine(value)));
    if (updated)
        writeFileAtomically(path_, *updated, limit_);
}

std::vector<std::string> ProfileFile::listKeys(std::string_view section) const {
    std::string text;
    std::vector<std::string> names;
    if (!readWholeFile(path_, text))
        return names;
    for (const std::string& name : profile_text::keyNames(text, toCp932(section), kKeyListBytes)) {
        names.push_back(fromCp932(name));
    }
    return names;
}

void ProfileFile::eraseSection(std::string_view section) {
    FolderLock lock(path_);
    std::string text;
    if (!readWholeFile(path_, text))
        return;
    const auto updated = profile_text::withoutSection(text, toCp932(section));
    if (updated)
        writeFileAtomically(path_, *updated, limit_);
}

}  // namespace hinagiku::platform
