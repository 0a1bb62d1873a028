#pragma once

#include "schedule/entry_store.h"

namespace hinagiku::schedule {

// Asks the file system for every probe: one file test or one directory
// search each. For a single question; bulk readers use SnapshotStore.
class FolderStore final : public EntryStore {
  public:
    // An empty folder means no data folder: nothing exists.
    explicit FolderStore(std::string folder);

    std::optional<std::string> exists(std::string_view name) const override;
    std::vector<std::string> find(std::string_view pattern) const override;
    const std::string& folder() const override { return folder_; }

  private:
    std::string folder_;
};

}  // namespace hinagiku::schedule
