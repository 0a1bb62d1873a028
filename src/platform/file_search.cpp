#include "platform/file_search.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <mutex>

namespace hinagiku::platform {
namespace {

char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Regular files (following links) directly in `folder`, sorted by name.
std::vector<std::string> listRegularFiles(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return names;
    const int dirFd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat st {};
            regular = fstatat(dirFd, entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
        }
        if (regular)
            names.emplace_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::string foldAsciiCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = foldAscii(c);
    return out;
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    // Iterative matcher with one backtrack point per "*": linear in practice.
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || foldAscii(pattern[p]) == foldAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> findFiles(const std::filesystem::path& folder, std::string_view pattern) {
    std::vector<std::string> names = listRegularFiles(folder);
    std::erase_if(names, [&](const std::string& n) { return !wildcardMatch(pattern, n); });
    return names;
}

namespace {

// The folded names of one folder, reused while the folder is unchanged, so
// that probing for an absent name (the common case) stays one stat call
// after the first listing.
class FoldedListingCache {
  public:
    bool contains(const std::filesystem::path& folder, const std::string& key,
                  std::string* nameOnDisk) {
        struct stat st {};
        if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return false;
        std::lock_guard lock(mutex_);
        if (folder != folder_ || st.st_dev != dev_ || st.st_ino != ino_ ||
            st.st_mtim.tv_sec != mtime_.tv_sec || st.st_mtim.tv_nsec != mtime_.tv_nsec ||
            st.st_ctim.tv_sec != ctime_.tv_sec || st.st_ctim.tv_nsec != ctime_.tv_nsec) {
            folder_ = folder;
            dev_ = st.st_dev;
            ino_ = st.st_ino;
            mtime_ = st.st_mtim;
            ctime_ = st.st_ctim;
            snapshot_ = DirectorySnapshot(folder);
        }
        return snapshot_.exists(key, nameOnDisk);
    }

  private:
    std::mutex mutex_;
    std::filesystem::path folder_;
    dev_t dev_ = 0;
    ino_t ino_ = 0;
    timespec mtime_{};
    timespec ctime_{};
    DirectorySnapshot snapshot_;
};

FoldedListingCache& listingCache() {
    static FoldedListingCache cache;
    return cache;
}

}  // namespace

bool fileExists(const std::filesystem::path& folder, std::string_view name,
                std::string* nameOnDisk) {
    if (name.empty() || name.find('/') != std::string_view::npos || name == "." || name == "..") {
        return false;
    }
    struct stat st {};
    const std::filesystem::path exact = folder / std::string(name);
    if (stat(exact.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        if (nameOnDisk)
            *nameOnDisk = std::string(name);
        return true;
    }
    // Not under this spelling: another case of the same name may be there.
    return listingCache().contains(folder, std::string(name), nameOnDisk);
}

bool folderExists(const std::filesystem::path& folder) {
    struct stat st {};
    return !folder.empty() && stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::filesystem::path& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

DirectorySnapshot::DirectorySnapshot(const std::filesystem::path& folder)
    : folder_(folder), names_(listRegularFiles(folder)) {
    std::vector<std::pair<std::string, std::size_t>> keyed;
    keyed.reserve(names_.size());
    for (std::size_t i = 0; i < names_.size(); ++i)
        keyed.emplace_back(foldAsciiCase(names_[i]), i);
    // Stable: among names equal but for case, the first in byte order wins,
    // as the probe of a single file would find the exact spelling first.
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    foldedKeys_.reserve(keyed.size());
    foldedIndex_.reserve(keyed.size());
    for (auto& [key, index] : keyed) {
        foldedKeys_.push_back(std::move(key));
        foldedIndex_.push_back(index);
    }
}

bool DirectorySnapshot::exists(std::string_view name, std::string* nameOnDisk) const {
    if (name.empty() || name.find('/') != std::string_view::npos)
        return false;
    if (std::binary_search(names_.begin(), names_.end(), name)) {
        if (nameOnDisk)
            *nameOnDisk = std::string(name);
        return true;
    }
    const std::string key = foldAsciiCase(name);
    const auto it = std::lower_bound(foldedKeys_.begin(), foldedKeys_.end(), key);
    if (it == foldedKeys_.end() || *it != key)
        return false;
    if (nameOnDisk)
        *nameOnDisk = names_[foldedIndex_[static_cast<std::size_t>(it - foldedKeys_.begin())]];
    return true;
}

std::vector<std::string> DirectorySnapshot::find(std::string_view pattern) const {
    std::vector<std::string> out;
    // A pattern whose fixed prefix has no letters narrows the search by
    // binary search on the sorted names; letters may differ in case, so
    // those patterns scan.
    std::size_t prefixLength = 0;
    while (prefixLength < pattern.size() && pattern[prefixLength] != '*' &&
           pattern[prefixLength] != '?') {
        const char c = pattern[prefixLength];
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
            break;
        ++prefixLength;
    }
    const std::string_view prefix = pattern.substr(0, prefixLength);
    auto it = prefix.empty() ? names_.begin()
                             : std::lower_bound(names_.begin(), names_.end(), prefix,
                                                [](const std::string& a, std::string_view b) {
                                                    return std::string_view(a) < b;
                                                });
    for (; it != names_.end(); ++it) {
        if (!prefix.empty() && std::string_view(*it).substr(0, prefix.size()) != prefix)
            break;
        if (wildcardMatch(pattern, *it))
            out.push_back(*it);
    }
    return out;
}

}  // namespace hinagiku::platform
