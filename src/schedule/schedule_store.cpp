#include "schedule/schedule_store.h"

#include <sys/stat.h>

#include "schedule/folder_store.h"
#include "schedule/snapshot_store.h"

namespace hinagiku::schedule {

std::unique_ptr<EntryStore> ScheduleStore::snapshot(const std::string& folder) const {
    return std::make_unique<SnapshotStore>(folder);
}

std::optional<std::string> ScheduleStore::exists(const std::string& folder,
                                                 std::string_view name) const {
    return FolderStore(folder).exists(name);
}

std::optional<EntryContent> ScheduleStore::load(const std::string& path) const {
    return LoadEntry(path);
}

bool ScheduleStore::fileExists(const std::string& path) const {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

const ScheduleStore& diskScheduleStore() {
    static const ScheduleStore store;
    return store;
}

}  // namespace hinagiku::schedule
