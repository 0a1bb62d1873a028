#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/date_time.h"
#include "platform/settings.h"
#include "schedule/agenda/todo_choice.h"
#include "schedule/entry_decoder.h"

namespace hinagiku::schedule {

// The schedule management window's three listings.
enum class ListingMode { All, Past, Day };

// One file of the data folder as the management window lists it.
struct ListedEntry {
    std::string name;         // the file name's bytes exactly as on disk
    std::string path;         // data folder, "/", name: the item's own file
    std::string description;  // UTF-8; see describeListedName
    DecodedEntry decoded;
    // A dated entry whose fields give a real date (and, for a popup, a real
    // time): its date and, for a popup, its minute.
    std::optional<CivilDate> date;
    std::optional<ClockTime> time;
};

// A name's bytes as text that can be shown: control characters and bytes
// that are no UTF-8 become U+FFFD.
std::string cleanDisplayText(std::string_view raw);
// The description of a file name, cleaned as above.
std::string describeListedName(std::string_view rawName);

// The key the list is sorted by: the description's CP932 bytes with ASCII
// letters upper-cased (whole characters only, never trail bytes).
std::string listingSortKey(std::string_view description);

// Whether the mode lists the entry: every file but birthdays in all mode;
// dated to-do entries before today and dated popups whose minute (second 0)
// is before `now` in past mode; dated entries of `chosenDay` in day mode.
bool listingAccepts(ListingMode mode, const ListedEntry& entry, DateTime now, DateTime chosenDay);

// Every regular file of `folder` the mode accepts, sorted by description,
// ties by file name bytes. Directories and birthday entries (any case)
// never appear. A folder that is missing gives an empty list.
std::vector<ListedEntry> listEntries(const std::string& folder, ListingMode mode, DateTime now,
                                     DateTime chosenDay);
ListedEntry listedEntry(const std::string& folder, std::string_view rawName);

// The heading shown while the list of a mode is empty, and the colours the
// window gives each mode (colour values: red in the lowest byte).
std::string_view emptyHeading(ListingMode mode);
int listTextColor(ListingMode mode);
int headingColor(ListingMode mode);
// The heading for a selected item: the date (and time) of a dated entry,
// otherwise the description without its eight-character label; and its
// background colour.
std::string itemHeading(const ListedEntry& entry);
int itemHeadingColor(ListingMode mode, const ListedEntry& entry);
inline constexpr std::string_view kDeletedHeading = "ｽｹｼﾞｭｰﾙを削除しました｡";

// What the management window's delete did.
enum class DeleteOutcome { Deleted, AlreadyGone };
// Deletes the file first, then erases its entry options section; when the
// system refuses, throws platform::IoError and both stay. A file already
// gone still has its section erased.
DeleteOutcome deleteListedEntry(const ListedEntry& entry, platform::Settings& settings);

// Where "修正" opens an editor for an item.
struct PopupPresetFields {
    PopupKind kind = PopupKind::Dated;
    CivilDate date{2000, 1, 1};
    int hour = 0;
    int minute = 0;
    ShiftKind shift = ShiftKind::None;
    WeekMask weeks = kEveryWeek;
    std::optional<int> uptimeSeconds;
};
struct EditTarget {
    enum class Editor { None, ToDo, Popup } editor = Editor::None;
    ToDoChoice todo;
    PopupPresetFields popup;
    std::string error;  // Editor::None: why no editor can open the item
};
// The editor preset so that the editor names exactly the item's own file
// (letters aside): dated entries at their date, yearly ones in the current
// year (or the next year that has the day), monthly ones in the current
// month (or the next month that has the day), weekday ones on the first
// such weekday of the current month, popups at their time.
EditTarget editTargetOf(const ListedEntry& entry, DateTime today);

}  // namespace hinagiku::schedule
