#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_search.h"
#include "schedule/entry_store.h"

namespace hinagiku::schedule {

// One listing of the data folder answering every probe of a rebuild (the
// marks of a month, the schedule list's range, the tick's minute probe).
// Answers exactly as FolderStore would have at the moment of the listing;
// searches are narrowed by an index of the names' first four characters and
// extensions (folded), then matched by the same wildcard rule.
class SnapshotStore final : public EntryStore {
  public:
    // An empty folder means no data folder: nothing exists.
    explicit SnapshotStore(std::string folder);

    std::optional<std::string> exists(std::string_view name) const override;
    std::vector<std::string> find(std::string_view pattern) const override;
    bool any(std::string_view pattern) const override;
    const std::string& folder() const override { return folder_; }

    std::size_t size() const { return snapshot_.names().size(); }

  private:
    // Indices (ascending, so in name order) of the names that can match;
    // nothing when the index cannot narrow the search.
    const std::vector<std::uint32_t>* candidates(std::string_view pattern) const;

    using Buckets = std::unordered_map<std::string, std::vector<std::uint32_t>>;

    std::string folder_;
    platform::DirectorySnapshot snapshot_;
    Buckets byHead_;       // folded first four characters -> indices, ascending
    Buckets byExtension_;  // folded text after the last dot -> indices, ascending
};

}  // namespace hinagiku::schedule
