#pragma once

#include <string>
#include <unordered_map>

#include "calendar/date_time.h"
#include "platform/settings.h"
#include "schedule/entry_name.h"

namespace hinagiku::schedule {

// Day off for a shift kind: a Sunday, a public holiday (substitute holidays
// included), or a Saturday for the two kinds that count Saturday off.
bool IsDayOff(DateTime date, ShiftKind kind, const platform::Settings& settings);

// The facts about days that one rebuild asks for again and again (holiday
// flags, the "mmdd", "dd" and "yy" of names), each worked out once. Lives
// for one rebuild only, so a changed holiday table shows at the next one.
class DayFacts {
  public:
    explicit DayFacts(const platform::Settings& settings) : settings_(settings) {}

    const platform::Settings& settings() const { return settings_; }

    bool isHoliday(int day) const { return holidayNameCount(day) > 0; }
    // How many holiday names the day has (substitute holidays included).
    std::size_t holidayNameCount(int day) const;
    bool isDayOff(int day, ShiftKind kind) const;

    struct NameParts {
        std::string mmdd, dd, yy;
    };
    const NameParts& parts(int day) const;

  private:
    const platform::Settings& settings_;
    mutable std::unordered_map<int, std::size_t> holidays_;
    mutable std::unordered_map<int, NameParts> parts_;
};

}  // namespace hinagiku::schedule
