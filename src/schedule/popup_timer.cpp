#include "schedule/popup_timer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "calendar/format_date.h"
#include "core/data_folders.h"
#include "schedule/day_facts.h"
#include "schedule/entry_name.h"
#include "schedule/probe_sequence.h"

namespace hinagiku::schedule {
namespace {

constexpr long long kMsPerDay = 86400000;

// [Pop_Born] Day as a day number; text that is no number reads as 0.
double storedDay(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return end == text.c_str() ? 0.0 : value;
}

}  // namespace

PopupTimer::PopupTimer(const platform::Clock& clock, platform::Settings& settings, TickHost& host,
                       const ScheduleStore& store)
    : clock_(clock), settings_(settings), host_(host), store_(store) {
    lastMailMinute_ = decodeTime(clock_.now()).minute;
}

std::string PopupTimer::uptimeName(std::uint32_t uptimeMilliseconds) {
    // Unsigned, so the counter stays right up to its wrap after 49.7 days.
    return UptimeEntryName(static_cast<int>(uptimeMilliseconds / 10000u * 10u));
}

int PopupTimer::leadMinutes(const platform::Settings& settings) {
    return std::clamp(settings.readInt("Calendar", "before", 0), 0, 59);
}

DateTime PopupTimer::addMinutes(DateTime value, int minutes) {
    const ClockTime t = decodeTime(value);
    long long day = dayNumber(value);
    long long ms =
        ((t.hour * 60LL + t.minute) * 60 + t.second) * 1000 + t.millisecond + minutes * 60000LL;
    day += ms / kMsPerDay;
    ms %= kMsPerDay;
    if (ms < 0) {
        ms += kMsPerDay;
        --day;
    }
    return makeDateTime(static_cast<int>(day), static_cast<double>(ms) / kMsPerDay);
}

void PopupTimer::Timer1Timer() {
    // Nothing due in the minute or ten-second slot of the start fires.
    if (!firstTickDone_) {
        lastMinuteKey_ = FormatDate("hhnn", addMinutes(clock_.now(), leadMinutes(settings_)));
        lastUptimeName_ = uptimeName(clock_.uptimeMilliseconds());
        firstTickDone_ = true;
        host_.reopenShownMemos();
    }

    const std::string folder = scheduleFolder(settings_);
    const int today = dayNumber(clock_.now());
    if (today != lastDate_)
        dateChange(today, folder);

    // Read only now: the date-change work may run a message loop whose
    // nested ticks fire the minutes it spans; keys taken before it would
    // fire those minutes again.
    const DateTime now = clock_.now();
    const DateTime target = addMinutes(now, leadMinutes(settings_));
    const std::string minuteKey = FormatDate("hhnn", target);
    const std::string uptime = uptimeName(clock_.uptimeMilliseconds());

    currentPopupPath_.clear();
    Batch batch;

    if (uptime != lastUptimeName_) {
        lastUptimeName_ = uptime;
        if (!folder.empty()) {
            if (const auto onDisk = store_.exists(folder, uptime))
                load(batch, folder, *onDisk, false, true);
        }
    }

    if (minuteKey != lastMinuteKey_) {
        lastMinuteKey_ = minuteKey;
        diaryPrompt(now);
        if (!folder.empty()) {
            const auto listing = store_.snapshot(folder);
            const DayFacts facts(settings_);
            for (const auto& hit : probePopupMinute(target, *listing, facts)) {
                load(batch, folder, hit.name, hit.kind == EntryKind::Dated, false);
            }
        }
    }

    if (!batch.path.empty()) {
        try {
            host_.presentPopup(batch.id, batch.path, batch.uptime ? now : target);
        } catch (const std::exception& e) {
            batch.errors.emplace_back(e.what());
        }
    }

    mailCountdownStep(now);
    host_.refreshDisplays(now, now + clock_.timeZoneBiasMinutes() / 1440.0);

    if (!batch.errors.empty()) {
        std::string message;
        for (const auto& line : batch.errors) {
            if (!message.empty())
                message += '\n';
            message += line;
        }
        host_.reportError(message);
    }
}

void PopupTimer::dateChange(int today, const std::string& folder) {
    lastDate_ = today;
    host_.scheduleListBackToToday();
    host_.calendarBackToToday();
    birthdayGreeting(today, folder);
}

void PopupTimer::birthdayGreeting(int today, const std::string& folder) {
    if (!settings_.readBool("Form", "BirthPop", true))
        return;
    std::string shown = settings_.readText("Pop_Born", "Day", "0");
    if (storedDay(shown) > today) {
        // The clock was set back: that day's greeting may come again.
        shown = std::to_string(today - 1);
        settings_.writeText("Pop_Born", "Day", shown);
    }
    const std::string todayText = std::to_string(today);
    if (shown == todayText || folder.empty())
        return;
    if (!store_.snapshot(folder)->any(birthdayPattern(today)))
        return;
    // Recorded first: the greeting and its sound may run a message loop.
    settings_.writeText("Pop_Born", "Day", todayText);
    host_.showBirthdayGreeting();
    playIfExists(settings_.readText("Pop_Born", "file", ""));
}

void PopupTimer::diaryPrompt(DateTime now) {
    if (!settings_.readBool("Nikki", "Auto", false))
        return;
    char wanted[32];
    std::snprintf(wanted, sizeof wanted, "%.2d%.2d", settings_.readInt("Nikki", "Auto_H", 0),
                  settings_.readInt("Nikki", "Auto_M", 0));
    if (FormatDate("hhnn", now) != wanted)
        return;
    host_.openDiaryList();
    playIfExists(settings_.readText("Calendar", "file", ""));
}

void PopupTimer::load(Batch& batch, const std::string& folder, const std::string& name, bool dated,
                      bool uptime) {
    const std::string path = core::joinPath(folder, name);
    std::optional<EntryContent> content;
    try {
        content = store_.load(path);
    } catch (const std::exception& e) {
        batch.errors.emplace_back(e.what());
        return;
    }
    if (!content)
        return;  // gone between the probe and the load

    PopupLoad entry;
    if (batch.id == 0) {
        batch.id = ++lastBatch_;
        entry.newWindow = true;
    }
    entry.batch = batch.id;
    entry.name = name;
    entry.path = path;
    entry.dated = dated;
    entry.uptime = uptime;
    entry.content = std::move(*content);
    try {
        host_.loadPopupEntry(entry);
    } catch (const std::exception& e) {
        batch.errors.emplace_back(path + ": " + e.what());
        return;
    }
    batch.path = path;
    batch.uptime = uptime;
    currentPopupPath_ = path;
}

void PopupTimer::mailCountdownStep(DateTime now) {
    if (!settings_.readBool("pop", "check", false))
        return;
    const int minute = decodeTime(now).minute;
    if (minute == lastMailMinute_)
        return;
    lastMailMinute_ = minute;
    if (--mailCountdown_ > 0)
        return;
    // Reset before the check, which waits for the servers: a tick inside
    // that wait must not start a second check.
    mailCountdown_ = settings_.readInt("pop", "min", 60);
    host_.checkMail();
}

void PopupTimer::playIfExists(const std::string& path) {
    if (store_.fileExists(path))
        host_.playSoundFile(path);
}

}  // namespace hinagiku::schedule
