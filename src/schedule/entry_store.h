#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::schedule {

// The two questions every reader of the schedule asks of the data folder:
// does an entry of this name exist, and which entries match a wildcard
// pattern ("?" one character, "*" any run). Letters compare without regard
// to case; directories never count.
class EntryStore {
  public:
    virtual ~EntryStore() = default;

    // The name as it is on disk, or nothing.
    virtual std::optional<std::string> exists(std::string_view name) const = 0;
    // Matching names, sorted by name (byte order).
    virtual std::vector<std::string> find(std::string_view pattern) const = 0;
    // Whether anything matches.
    virtual bool any(std::string_view pattern) const { return !find(pattern).empty(); }

    // The data folder as the settings hold it (entry paths and entry options
    // sections are built from it); empty when no data folder is set.
    virtual const std::string& folder() const = 0;
    // The full path of the entry `name`: folder, "/", name.
    std::string pathOf(std::string_view name) const;
};

}  // namespace hinagiku::schedule
