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

std::vector<SettingsEntry> decodedEntries(std::string_view text, std::string_view section) {
    std::vector<SettingsEntry> out;
    for (auto& [key, value] : profile_text::entries(text, toCp932(section)))
        out.push_back({fromCp932(key), fromCp932(value)});
    return out;
}

// The file's CP932 text during one edit.
class ProfileEdit final : public SettingsEdit {
  public:
    explicit ProfileEdit(std::string text) : text_(std::move(text)) {}

    std::string readText(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const override {
        const auto value = profile_text::findValue(text_, toCp932(section), toCp932(key),
                                                   ProfileFile::kMaxValueBytes);
        return value ? fromCp932(*value) : std::string(defaultValue);
    }
    std::vector<SettingsEntry> entries(std::string_view section) const override {
        return decodedEntries(text_, section);
    }
    std::vector<std::string> sectionNames() const override {
        std::vector<std::string> names;
        for (const std::string& name : profile_text::sectionNames(text_))
            names.push_back(fromCp932(name));
        return names;
    }
    void writeText(std::string_view section, std::string_view key,
                   std::string_view value) override {
        apply(profile_text::withValue(text_, toCp932(section), toCp932(key),
                                      toCp932(singleLine(value))));
    }
    void eraseKey(std::string_view section, std::string_view key) override {
        apply(profile_text::withoutKey(text_, toCp932(section), toCp932(key)));
    }
    void eraseSection(std::string_view section) override {
        apply(profile_text::withoutSection(text_, toCp932(section)));
    }
    void replaceSection(std::string_view section,
                        const std::vector<SettingsEntry>& entries) override {
        std::vector<std::string> lines;
        lines.reserve(entries.size());
        for (const SettingsEntry& entry : entries)
            lines.push_back(toCp932(singleLine(entry.key)) + "=" +
                            toCp932(singleLine(entry.value)));
        apply(profile_text::withSectionKeys(text_, toCp932(section), lines));
    }

    const std::string& text() const { return text_; }
    bool changed() const { return changed_; }

  private:
    void apply(std::optional<std::string> updated) {
        if (updated) {
            text_ = std::move(*updated);
            changed_ = true;
        }
    }
    std::string text_;
    bool changed_ = false;
};

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

namespace hinagiku::platform {

std::vector<SettingsEntry> ProfileFile::listEntries(std::string_view section) const {
    std::string text;
    if (!readWholeFile(path_, text))
        return {};
    return decodedEntries(text, section);
}

void ProfileFile::edit(const std::function<void(SettingsEdit&)>& change) {
    FolderLock lock(path_);
    std::string text;
    readWholeFile(path_, text);
    ProfileEdit session(text);
    change(session);
    if (session.changed() && session.text() != text)
        writeFileAtomically(path_, session.text(), limit_);
}

}  // namespace hinagiku::platform
