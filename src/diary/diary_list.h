#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::diary {

enum class DayKind { None, Titled, Untitled, Damaged, Legacy };

// One line of the month list.
struct ListLine {
    int day = 0;  // day number
    DayKind kind = DayKind::None;
    std::string text;  // "yyyy/mm/dd (ddd)" and what the day's files hold
};

struct MonthList {
    std::vector<ListLine> lines;  // one per day of the month, in day order
    int written = 0;              // days with a title line or a legacy file
    int percent = 0;              // written * 100 / days, truncated
};

// The list of a month. Each page is read only up to its end line, so the
// bodies' sizes do not matter; the folder is listed once.
MonthList buildMonthList(const std::filesystem::path& folder, int year, int month);

// The progress bar's hint: "月あたり\r日記の記入状況 N件(P%)".
std::string writtenHint(const MonthList& list);

// The first bytes of a file up to and including its end line (or the
// whole file when it has none), read in blocks.
std::string readHeaderBytes(const std::filesystem::path& path);

enum class MatchKind { Title, Weather, Body };

struct SearchHit {
    int day = 0;
    MatchKind kind = MatchKind::Title;
    std::string text;  // the title, or the weather for a weather match
    std::string line;  // the result line
};

// The kind's mark: "【題名】", "【天気】" or "【本文】".
std::string_view matchMark(MatchKind kind);

// Searches the diary files of the months from (fromYear, fromMonth) to
// (toYear, toMonth), exchanged when the end is before the start. Titles and
// weather lines first, the body only when neither matched. Characters are
// compared, not bytes; an empty text finds nothing. The folder is listed
// once; `progress` (may be empty) hears each day searched and may stop the
// search by returning false.
std::vector<SearchHit> searchDiary(const std::filesystem::path& folder, int fromYear, int fromMonth,
                                   int toYear, int toMonth, std::string_view text,
                                   const std::function<bool(int day)>& progress = {});

}  // namespace hinagiku::diary
