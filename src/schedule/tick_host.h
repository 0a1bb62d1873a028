#pragma once

#include <cstdint>
#include <string>

#include "calendar/date_time.h"
#include "schedule/entry_files.h"

namespace hinagiku::schedule {

// One due entry handed to the popup window of its tick.
struct PopupLoad {
    // The popup window of one tick: every entry of a batch goes into the
    // same window, a new batch gets a new window. A tick that runs inside
    // another one's wait has a batch of its own.
    std::uint64_t batch = 0;
    // The first entry handed over for the batch. A window is still best found
    // by batch: the call that should have made it may have failed.
    bool newWindow = false;
    std::string name;      // file name as on disk
    std::string path;      // full path; also the name of its entry options section
    bool dated = false;    // a dated popup: the window's delete action is enabled
    bool uptime = false;   // the uptime entry of this tick
    EntryContent content;  // the file as loaded
};

// What the main timer's tick asks of the windows. Every callback may run a
// nested message loop (and so nested ticks): the tick has updated all its
// de-duplication state before it calls any of them.
class TickHost {
  public:
    virtual ~TickHost() = default;

    // First tick only: the memo list reload, which reopens the sticky memos
    // that were shown.
    virtual void reopenShownMemos() = 0;
    // Date change (and the first tick): when the schedule list window is
    // open, set it back to today and rebuild its list.
    virtual void scheduleListBackToToday() = 0;
    // Date change: the main calendar back to today and the day view rebuilt.
    virtual void calendarBackToToday() = 0;
    // Create and show the birthday greeting window for today's birthdays.
    virtual void showBirthdayGreeting() = 0;
    // Start playing a .WAV or .MID file without waiting (PlaySoundFile); the
    // tick only passes files that exist.
    virtual void playSoundFile(const std::string& path) = 0;
    // The diary prompt: open the diary list through List2Click, which asks
    // for the privacy password when one is set.
    virtual void openDiaryList() = 0;
    // LoadPopupEntry: put the entry's text into the window of its batch
    // (creating the window for the first entry) and run its programs
    // (RunEntryPrograms). An exception is reported by the tick, once.
    virtual void loadPopupEntry(const PopupLoad& entry) = 0;
    // PresentPopup: finish and show the window of `batch` for the last entry
    // loaded into it, `path`; the date label shows `labelTime` (the current
    // time for the uptime entry, the target time otherwise). May wait (the
    // reminder mail). An exception is reported by the tick, once.
    virtual void presentPopup(std::uint64_t batch, const std::string& path, DateTime labelTime) = 0;
    // mailcheckClick: one check of all enabled accounts. At its end it sets
    // PopupTimer::setMailCountdown([pop] min).
    virtual void checkMail() = 0;
    // The clock, date, moon, Julian date and resource displays for `now`
    // (local time) and `universal` (now converted with the time-zone bias).
    virtual void refreshDisplays(DateTime now, DateTime universal) = 0;
    // Entries of this tick that could not be loaded or presented: called at
    // most once per tick, after everything else, with one line per failure.
    virtual void reportError(const std::string& message) = 0;
};

}  // namespace hinagiku::schedule
