#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "calendar/date_time.h"
#include "platform/settings.h"
#include "schedule/entry_store.h"

namespace hinagiku::schedule {

// Days before and after the base date, as [Sch_List] mae and ato keep them
// (0 .. 99; a value that is no number gives the default, others are kept
// within the range).
struct ListSpan {
    int before = 2;
    int after = 7;
};
inline constexpr int kMaxListDays = 99;
ListSpan readListSpan(const platform::Settings& settings);
// What a build writes: the span, and the base date or 0, 0, 0 for today.
void writeListSettings(platform::Settings& settings, DateTime base, DateTime today,
                       const ListSpan& span);

// The schedule list's three boxes: every line of the days before today,
// of today and of the days after it, for the range base - before ..
// base + after (within the years 1 to 9999).
struct Agenda {
    DateTime first = 0;
    DateTime last = 0;
    std::string caption;  // "2024/03/13 (水)～2024/03/22 (金)"
    std::vector<std::string> past, today, future;
    // Entries whose files could not be read: one message each; the other
    // lines are complete.
    std::vector<std::string> errors;
};

// The first and last day of the range.
DateTime listFirstDay(DateTime base, int before);
DateTime listLastDay(DateTime base, int after);

// One header line: the date, spaces up to 32 CP932 bytes with the offset
// text, and "〔本日〕", "〔N日前〕" or "〔N日後〕" counted from `today`.
std::string listHeader(DateTime day, DateTime today);
// The separator line under each day.
inline constexpr const char* kListSeparator = "━━━━━━━━━━━━━……‥";

// Builds the three boxes from `store` (one listing for the whole range).
// [Form] Qreki adds the rokuyo line; holidays come from `settings`.
Agenda buildAgenda(DateTime base, const ListSpan& span, DateTime today, const EntryStore& store,
                   const platform::Settings& settings);
// The same reading the data folder of `settings`.
Agenda buildAgenda(DateTime base, const ListSpan& span, DateTime today,
                   const platform::Settings& settings);

// The text printed and written to TODOLIST.TXT (UTF-8): "Title:" and the
// caption, "Print:" and `now`, an empty line, then the lines of the three
// boxes; every line ends in CR LF, the last too.
std::string agendaText(const Agenda& agenda, DateTime now);

// The default file name the save dialog proposes.
inline constexpr const char* kTodoListFileName = "TODOLIST.TXT";

// Writes `text` (UTF-8) to `path` as CP932 through a temporary file,
// replacing any earlier file. Returns false when some characters had no
// CP932 form and were written as "?". Throws platform::IoError naming the
// file; an earlier file is then left as it was.
bool writeTodoList(const std::filesystem::path& path, const std::string& text);

}  // namespace hinagiku::schedule
