#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory_status.h"
#include "platform/settings.h"

namespace hinagiku::mainwindow {

// What the main window's menus and small fields show, from the settings.

// The mail submenu: when one of [pop] pop1_check, pop2_check, pop3_check is on.
bool mailMenuVisible(const platform::Settings& settings);
// The cycle tracker item: [Setup] Period 0, captioned [Form] Period_Cap.
bool periodItemVisible(const platform::Settings& settings);
std::string periodCaption(const platform::Settings& settings);
// "Windowsの終了" in the main menu ([Setup] Reboot 0) and the launcher
// menu ([Setup] Reboot_exec).
bool shutdownInMainMenu(const platform::Settings& settings);
bool shutdownInLauncherMenu(const platform::Settings& settings);

// [Setup] MIcon_DBLC: the double-click of the memo tray icon and the info row.
enum class InfoAction {
    DiaryList = 0,
    ScheduleList,
    PopupRegistration,
    ScheduleRegistration,
    MailCheck,
    PhoneBook
};
InfoAction infoDoubleClickAction(const platform::Settings& settings);
// The memo tray icon's tip for that action.
std::string memoIconTip(InfoAction action);

// [Setup] Cal_DBLC: the calendar's double-click.
enum class CalendarAction {
    PopupRegistration = 0,
    ScheduleRegistration,
    ScheduleManagement,
    JumpToDate,
    DiaryList
};
CalendarAction calendarDoubleClickAction(const platform::Settings& settings);

// Where the help pages "help_html/index.html" are looked for, in order:
// beside the executable (a portable copy), in the installed data folder
// (<prefix>/share/hinagiku beside <prefix>/bin), then in the home folder.
std::vector<std::filesystem::path> helpFileCandidates(const std::filesystem::path& executableFolder,
                                                      const std::filesystem::path& home);
// The first candidate that exists; the home folder's when none does.
std::filesystem::path helpFilePath(const std::filesystem::path& home);

// "%dK(%d%%)": available physical memory in KB and its share of the total;
// empty when the figures cannot be had.
std::string resourceMeterText(const std::optional<platform::MemoryStatus>& status);

}  // namespace hinagiku::mainwindow
