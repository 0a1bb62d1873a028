#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "schedule/entry_files.h"
#include "schedule/entry_store.h"

namespace hinagiku::schedule {

// What the tick reads from the disk: the data folder and the files the
// settings name. The real one reads the file system; tests override a
// method to make a file unreadable or a folder vanish.
class ScheduleStore {
  public:
    virtual ~ScheduleStore() = default;

    // One listing of `folder` for a minute's probe.
    virtual std::unique_ptr<EntryStore> snapshot(const std::string& folder) const;
    // A single file test in `folder` (the uptime entry of a ten-second slot).
    virtual std::optional<std::string> exists(const std::string& folder,
                                              std::string_view name) const;
    // LoadEntry.
    virtual std::optional<EntryContent> load(const std::string& path) const;
    // Whether `path` names a regular file (sound files from the settings).
    virtual bool fileExists(const std::string& path) const;
};

// The file system's store.
const ScheduleStore& diskScheduleStore();

}  // namespace hinagiku::schedule
