#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calendar/date_time.h"
#include "platform/clock.h"
#include "platform/settings.h"
#include "schedule/schedule_store.h"
#include "schedule/tick_host.h"

namespace hinagiku::schedule {

// The main timer's handler and the state it keeps between ticks. One tick:
// the date-change work with the birthday greeting, the uptime entry of the
// ten-second slot, once per minute the diary prompt and the popup entries
// due at the current time plus the lead time, the presentation of this
// tick's popup window, the mail-check countdown and the display refresh.
// Settings are read afresh in every tick; nothing is cached between ticks.
class PopupTimer {
  public:
    PopupTimer(const platform::Clock& clock, platform::Settings& settings, TickHost& host,
               const ScheduleStore& store = diskScheduleStore());

    // One tick. Safe to enter again from inside any TickHost callback.
    void Timer1Timer();

    // Minutes left before the periodic mail check. The mail check sets it
    // at its end; starting the mail program adds one.
    int mailCountdown() const { return mailCountdown_; }
    void setMailCountdown(int minutes) { mailCountdown_ = minutes; }

    bool firstTickDone() const { return firstTickDone_; }
    int lastDate() const { return lastDate_; }
    const std::string& lastMinuteKey() const { return lastMinuteKey_; }
    const std::string& lastUptimeName() const { return lastUptimeName_; }
    // Path of the last entry loaded by the latest tick; empty when it loaded none.
    const std::string& currentPopupPath() const { return currentPopupPath_; }

    // "W" + the uptime in whole ten seconds ("%.7d") + ".__".
    static std::string uptimeName(std::uint32_t uptimeMilliseconds);
    // Lead time [Calendar] before, kept within 0..59 minutes.
    static int leadMinutes(const platform::Settings& settings);
    // `value` plus whole minutes, exact to the millisecond.
    static DateTime addMinutes(DateTime value, int minutes);

  private:
    // What one tick has loaded; kept on the stack so that a nested tick
    // cannot take over the outer tick's window.
    struct Batch {
        std::uint64_t id = 0;
        std::string path;
        bool uptime = false;
        std::vector<std::string> errors;
    };

    void dateChange(int today, const std::string& folder);
    void birthdayGreeting(int today, const std::string& folder);
    void diaryPrompt(DateTime now);
    void load(Batch& batch, const std::string& folder, const std::string& name, bool dated,
              bool uptime);
    void mailCountdownStep(DateTime now);
    void playIfExists(const std::string& path);

    const platform::Clock& clock_;
    platform::Settings& settings_;
    TickHost& host_;
    const ScheduleStore& store_;

    bool firstTickDone_ = false;
    int lastDate_ = 0;
    std::string lastMinuteKey_;
    std::string lastUptimeName_;
    std::string currentPopupPath_;
    int mailCountdown_ = 0;
    int lastMailMinute_ = 0;
    std::uint64_t lastBatch_ = 0;
};

}  // namespace hinagiku::schedule
