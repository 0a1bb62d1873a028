#include "schedule/probe_sequence.h"

#include <array>

#include "calendar/format_date.h"

namespace hinagiku::schedule {
namespace {

// Shift kinds in the order their own-date names are probed, and in the order
// the names shifted in from neighbouring days are probed.
constexpr std::array<ShiftKind, 4> kOwnDateOrder{ShiftKind::PreviousDay, ShiftKind::NextDay,
                                                 ShiftKind::PreviousDaySaturdayOff,
                                                 ShiftKind::NextDaySaturdayOff};
constexpr std::array<ShiftKind, 4> kShiftedInOrder{
    ShiftKind::NextDaySaturdayOff, ShiftKind::NextDay, ShiftKind::PreviousDaySaturdayOff,
    ShiftKind::PreviousDay};

// A run of days off is a few days in practice; a holiday table that makes
// nearly every day a holiday must not make a probe walk for ever.
constexpr int kLongestRun = 366;
const int kFirstDay = dayNumberOf({1, 1, 1});
const int kLastDay = dayNumberOf({9999, 12, 31});

bool startsWithEightUnderscores(std::string_view name) {
    return name.size() >= 8 && name.substr(0, 8) == "________";
}

// One run of the probe sequence. The to-do form probes the bare names; the
// popup form puts "hhnn" in front and the shift mark in the extension.
class Sequence {
  public:
    Sequence(const EntryStore& store, const DayFacts& facts, std::string timePrefix,
             unsigned groups, bool stopAtFirstHit)
        : store_(store),
          facts_(facts),
          time_(std::move(timePrefix)),
          popup_(!time_.empty()),
          groups_(groups),
          stopAtFirstHit_(stopAtFirstHit) {}

    std::vector<ProbeHit> take() { return std::move(hits_); }
    bool done() const { return stopAtFirstHit_ && !hits_.empty(); }
    bool enabled(unsigned group) const { return (groups_ & group) != 0 && !done(); }

    void exact(const std::string& name, EntryKind kind, ShiftKind shift, unsigned group) {
        if (!enabled(group))
            return;
        if (auto onDisk = store_.exists(name))
            hits_.push_back({std::move(*onDisk), kind, shift});
    }

    template <typename Keep>
    void search(const std::string& pattern, EntryKind kind, unsigned group, Keep keep) {
        if (!enabled(group))
            return;
        for (auto& name : store_.find(pattern)) {
            if (keep(name))
                hits_.push_back({std::move(name), kind, ShiftKind::None});
        }
    }

    void birthdays(int day) {
        if (!enabled(kProbeBirthdays))
            return;
        const std::string pattern = "BORN" + facts_.parts(day).mmdd + ".*";
        if (stopAtFirstHit_) {
            // One existence test is all the marks need.
            if (store_.any(pattern))
                hits_.push_back({pattern, EntryKind::Birthday});
            return;
        }
        search(pattern, EntryKind::Birthday, kProbeBirthdays,
               [](const std::string&) { return true; });
    }

    void daily() { exact(time_ + "____.__", EntryKind::Daily, ShiftKind::None, kProbeDaily); }

    // Steps common to both forms: dated, yearly and monthly without shift,
    // shifts on the own date, shifts in from the days off next to it.
    void datedYearlyMonthly(int day) {
        const auto& parts = facts_.parts(day);
        exact((popup_ ? time_ : std::string("____")) + parts.mmdd + "." + parts.yy,
              EntryKind::Dated, ShiftKind::None, kProbeDated);
        yearlyAndMonthly(ShiftKind::None, day);
        if (!enabled(kProbeYearly | kProbeMonthly))
            return;
        for (ShiftKind kind : kOwnDateOrder) {
            if (!facts_.isDayOff(day, kind))
                yearlyAndMonthly(kind, day);
        }
        for (ShiftKind kind : kShiftedInOrder) {
            if (!enabled(kProbeYearly | kProbeMonthly))
                return;
            if (facts_.isDayOff(day, kind))
                continue;
            if (shiftsToNextDay(kind)) {
                // The days off right before the day, earliest first.
                int first = day;
                while (first - 1 >= kFirstDay && day - (first - 1) <= kLongestRun &&
                       facts_.isDayOff(first - 1, kind)) {
                    --first;
                }
                for (int x = first; x < day; ++x)
                    yearlyAndMonthly(kind, x);
            } else {
                // The days off right after the day, latest first.
                int last = day;
                while (last + 1 <= kLastDay && (last + 1) - day <= kLongestRun &&
                       facts_.isDayOff(last + 1, kind)) {
                    ++last;
                }
                for (int x = last; x > day; --x)
                    yearlyAndMonthly(kind, x);
            }
        }
    }

    void everyWeek(int day) {
        const std::string code(weekdayCode(DayOfWeek(day)));
        exact((popup_ ? time_ + "____." : std::string("________.")) + code, EntryKind::Weekday,
              ShiftKind::None, kProbeWeekday);
    }

    void toDoChosenWeeks(int day, WeekSearchOrder order) {
        if (!enabled(kProbeWeekday))
            return;
        const std::string code(weekdayCode(DayOfWeek(day)));
        const CivilDate date = decodeDate(day);
        std::vector<std::string> patterns;
        if (date.day <= 7) {
            patterns = {"_????___."};
        } else if (date.day <= 14) {
            patterns = {"?_???___."};
        } else if (date.day <= 21) {
            patterns = {"??_??___."};
        } else if (date.day <= 28) {
            patterns = {"???_?___."};
            if (decodeDate(day + 7).month != date.month)
                patterns.emplace_back("~~~~~___.");
        } else if (order == WeekSearchOrder::DayView) {
            patterns = {"_???____.", "~???____.", "~~~~~___."};
        } else {
            patterns = {"~???____.", "_???____.", "~~~~~___."};
        }
        // The every-week entry has been listed already; the searches leave it out.
        const auto notEveryWeek = [](const std::string& n) {
            return !startsWithEightUnderscores(n);
        };
        for (const auto& pattern : patterns) {
            search(pattern + code, EntryKind::Weekday, kProbeWeekday, notEveryWeek);
        }
    }

    void popupChosenWeeks(int day) {
        const std::string code(weekdayCode(DayOfWeek(day)));
        search(time_ + "__??." + code, EntryKind::Weekday, kProbeWeekday,
               [day](const std::string& n) { return weekMaskCovers(popupNameWeekMask(n), day); });
    }

  private:
    void yearlyAndMonthly(ShiftKind kind, int day) {
        const auto& parts = facts_.parts(day);
        if (popup_) {
            const std::string mark(popupShiftMark(kind));
            exact(time_ + parts.mmdd + "." + mark, EntryKind::Yearly, kind, kProbeYearly);
            exact(time_ + "__" + parts.dd + "." + mark, EntryKind::Monthly, kind, kProbeMonthly);
        } else {
            const std::string prefix(toDoShiftPrefix(kind));
            exact(prefix + parts.mmdd + ".__", EntryKind::Yearly, kind, kProbeYearly);
            exact(prefix + "__" + parts.dd + ".__", EntryKind::Monthly, kind, kProbeMonthly);
        }
    }

    const EntryStore& store_;
    const DayFacts& facts_;
    const std::string time_;
    const bool popup_;
    const unsigned groups_;
    const bool stopAtFirstHit_;
    std::vector<ProbeHit> hits_;
};

}  // namespace

std::vector<ProbeHit> probeToDoDay(int day, const EntryStore& store, const DayFacts& facts,
                                   const ToDoProbeOptions& options) {
    Sequence sequence(store, facts, {}, options.groups & ~kProbeDaily, options.stopAtFirstHit);
    sequence.birthdays(day);
    sequence.datedYearlyMonthly(day);
    sequence.everyWeek(day);
    sequence.toDoChosenWeeks(day, options.order);
    return sequence.take();
}

std::vector<ProbeHit> probePopupMinute(DateTime target, const EntryStore& store,
                                       const DayFacts& facts) {
    const int day = dayNumber(target);
    Sequence sequence(store, facts, FormatDate("hhnn", target), kAllProbes & ~kProbeBirthdays,
                      false);
    sequence.daily();
    sequence.datedYearlyMonthly(day);
    sequence.everyWeek(day);
    sequence.popupChosenWeeks(day);
    return sequence.take();
}

int popupWeekClass(int day) {
    const CivilDate date = decodeDate(day);
    int weekClass = date.day <= 7 ? 1 : date.day <= 14 ? 2 : date.day <= 21 ? 4 : 8;
    if (decodeDate(day + 7).month != date.month)
        weekClass = 32;
    if (date.day >= 29)
        weekClass = 16;
    return weekClass;
}

bool weekMaskCovers(WeekMask mask, int day) {
    const int weekClass = popupWeekClass(day);
    if (mask == kLastWeek)
        return weekClass == 32 || weekClass == 16;
    return (mask & weekClass) != 0;
}

WeekMask popupNameWeekMask(std::string_view name) {
    if (name.size() < 8)
        return 0;
    const char tens = name[6], ones = name[7];
    if (tens < '0' || tens > '9' || ones < '0' || ones > '9')
        return 0;
    return (tens - '0') * 10 + (ones - '0');
}

}  // namespace hinagiku::schedule
