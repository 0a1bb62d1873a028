#include "schedule/snapshot_store.h"

#include <algorithm>

#include "platform/file_search.h"

namespace hinagiku::schedule {
namespace {

using platform::foldAsciiCase;

constexpr std::size_t kHeadLength = 4;

bool isWildcard(char c) {
    return c == '?' || c == '*';
}

// The text after the last dot, or nothing when there is no dot.
std::optional<std::string_view> extensionOf(std::string_view s) {
    const std::size_t dot = s.rfind('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    return s.substr(dot + 1);
}

}  // namespace

SnapshotStore::SnapshotStore(std::string folder) : folder_(std::move(folder)) {
    if (folder_.empty())
        return;
    snapshot_ = platform::DirectorySnapshot(folder_);
    const auto& names = snapshot_.names();
    for (std::uint32_t i = 0; i < names.size(); ++i) {
        const std::string_view name = names[i];
        if (name.size() >= kHeadLength)
            byHead_[foldAsciiCase(name.substr(0, kHeadLength))].push_back(i);
        if (const auto extension = extensionOf(name))
            byExtension_[foldAsciiCase(*extension)].push_back(i);
    }
}

std::optional<std::string> SnapshotStore::exists(std::string_view name) const {
    std::string onDisk;
    if (!snapshot_.exists(name, &onDisk))
        return std::nullopt;
    return onDisk;
}

const std::vector<std::uint32_t>* SnapshotStore::candidates(std::string_view pattern) const {
    // Any match starts with the pattern's fixed prefix and ends with its
    // fixed tail (both compared folded); a tail with a dot fixes the
    // extension after the name's last dot.
    static const std::vector<std::uint32_t> kNone;
    std::size_t prefixEnd = 0;
    while (prefixEnd < pattern.size() && !isWildcard(pattern[prefixEnd]))
        ++prefixEnd;
    std::size_t tailStart = pattern.size();
    while (tailStart > 0 && !isWildcard(pattern[tailStart - 1]))
        --tailStart;

    const std::vector<std::uint32_t>* best = nullptr;
    const auto narrow = [&](const Buckets& buckets, const std::string& key) {
        const auto it = buckets.find(key);
        const std::vector<std::uint32_t>* found = it == buckets.end() ? &kNone : &it->second;
        if (!best || found->size() < best->size())
            best = found;
    };
    if (prefixEnd >= kHeadLength)
        narrow(byHead_, foldAsciiCase(pattern.substr(0, kHeadLength)));
    if (const auto extension = extensionOf(pattern.substr(tailStart))) {
        narrow(byExtension_, foldAsciiCase(*extension));
    }
    return best;  // nothing: every name is a candidate
}

std::vector<std::string> SnapshotStore::find(std::string_view pattern) const {
    std::vector<std::string> out;
    const auto& names = snapshot_.names();
    if (const auto* indices = candidates(pattern)) {
        for (std::uint32_t i : *indices) {
            if (platform::wildcardMatch(pattern, names[i]))
                out.push_back(names[i]);
        }
        return out;
    }
    for (const auto& name : names) {
        if (platform::wildcardMatch(pattern, name))
            out.push_back(name);
    }
    return out;
}

bool SnapshotStore::any(std::string_view pattern) const {
    const auto& names = snapshot_.names();
    if (const auto* indices = candidates(pattern)) {
        for (std::uint32_t i : *indices) {
            if (platform::wildcardMatch(pattern, names[i]))
                return true;
        }
        return false;
    }
    for (const auto& name : names) {
        if (platform::wildcardMatch(pattern, name))
            return true;
    }
    return false;
}

}  // namespace hinagiku::schedule
