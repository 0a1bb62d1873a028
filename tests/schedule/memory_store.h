#pragma once

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "calendar/date_time.h"
#include "platform/file_search.h"
#include "schedule/entry_store.h"

namespace hinagiku::schedule::testing {

// A data folder held in memory that records every probe, in order: exact
// tests as the name, searches as "find " + pattern.
class MemoryStore final : public EntryStore {
  public:
    explicit MemoryStore(std::vector<std::string> names = {})
        : names_(names.begin(), names.end()) {}

    void add(const std::string& name) { names_.insert(name); }

    std::optional<std::string> exists(std::string_view name) const override {
        log_.emplace_back(name);
        for (const auto& n : names_) {
            if (n.size() == name.size() && platform::wildcardMatch(name, n))
                return n;
        }
        return std::nullopt;
    }
    std::vector<std::string> find(std::string_view pattern) const override {
        log_.push_back("find " + std::string(pattern));
        std::vector<std::string> out;
        for (const auto& n : names_) {
            if (platform::wildcardMatch(pattern, n))
                out.push_back(n);
        }
        return out;
    }
    const std::string& folder() const override { return folder_; }

    const std::vector<std::string>& log() const { return log_; }
    void clearLog() { log_.clear(); }

  private:
    std::set<std::string> names_;
    std::string folder_ = "/data";
    mutable std::vector<std::string> log_;
};

inline int day(int year, int month, int dayOfMonth) {
    return dayNumberOf({year, month, dayOfMonth});
}

}  // namespace hinagiku::schedule::testing
