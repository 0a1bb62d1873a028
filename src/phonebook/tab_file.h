#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "phonebook/tab_grid.h"

namespace hinagiku::phonebook {

// Files larger than this are not read whole: no phone book grows so big.
inline constexpr std::uintmax_t kMaxTabFileBytes = 4u * 1024 * 1024;

// A tab file's bytes read into the grid.
struct TabContent {
    TabGrid grid;
    // Every record as it is in the file (line end not included), for search.
    std::vector<std::string> records;
    // Why the file cannot be saved over (UTF-8, for the message); empty when
    // it reads whole.
    std::string damage;
};

// Reads records, not lines: CR, LF or CR LF inside quotes belong to the cell.
// A quote still open at the end of the file makes the whole file read line
// by line (as Windows does) and marks it damaged, as does a record over
// kMaxRecordBytes, a non-empty cell past row 255 or past the sixth field.
TabContent parseTab(std::string_view bytes);

// The records alone (views into `bytes`), split as parseTab splits them.
std::vector<std::string_view> tabRecords(std::string_view bytes, bool* openQuote = nullptr);

// "3.CSV" for tab 3.
std::string tabFileName(int tab);

// A tab file as found on disk.
struct TabFile {
    std::filesystem::path path;  // under the name on disk when it exists
    bool exists = false;
    std::string bytes;  // as read
    TabContent content;
    bool tooLarge = false;  // only the first kMaxTabFileBytes were read
    bool damaged() const { return !content.damage.empty(); }
};

// The entry of the tab's file in `folder` under any case of its name,
// whatever kind of entry it is; nothing when there is none.
std::optional<std::filesystem::path> findTabFile(const std::filesystem::path& folder, int tab);

// Finds the tab's file in `folder` under any case of its name and reads it.
// Something that is not a regular file, cannot be read or is over
// kMaxTabFileBytes is damaged (what fits is shown); a missing file is an
// empty grid.
TabFile readTabFile(const std::filesystem::path& folder, int tab);
// The same without reading the cells: `bytes` (what fits), and `damage`
// only for what stops the reading (not a regular file, unreadable).
TabFile readTabBytes(const std::filesystem::path& folder, int tab);
// The same reading into `buffer` (its memory is reused, its bytes not).
TabFile readTabBytes(const std::filesystem::path& folder, int tab, std::string buffer);

enum class SaveOutcome { Saved, Unchanged };

// Saves `grid` over `file` (read before with readTabFile), atomically and
// under the name on disk. Bytes that would not change are not written.
// Throws platform::IoError when the system refuses, std::logic_error when
// the file is damaged or a row does not fit (callers refuse those earlier).
SaveOutcome saveTabFile(TabFile& file, const TabGrid& grid);

}  // namespace hinagiku::phonebook
