#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::phonebook {

inline constexpr int kRowCount = 256;
inline constexpr int kColumnCount = 6;
// Index tabs 0-11 are stored by the user; 12 holds the latest search results.
inline constexpr int kIndexTabCount = 12;
inline constexpr int kSearchTab = 12;
inline constexpr int kTabCount = 13;
// The longest record a tab holds, line end not counted: Windows reads no more.
inline constexpr std::size_t kMaxRecordBytes = 4095;

using Row = std::array<std::string, kColumnCount>;

// One tab: 256 rows of six cells, each cell the CP932 bytes as read or as
// last edited, so that untouched cells never pass through a conversion.
struct TabGrid {
    std::array<Row, kRowCount> rows;

    const std::string& cell(int row, int column) const { return rows[row][column]; }
    bool empty() const;
    bool operator==(const TabGrid&) const = default;
};

// The record a row is saved as (without the line end).
std::string encodeRecord(const Row& row);
// Bytes of the saved record; a row over kMaxRecordBytes cannot be saved.
std::size_t recordLength(const Row& row);
bool rowFits(const Row& row);
// Whether Windows reads the saved record back as these cells: a cell ending
// in a lone lead byte would swallow the quote or comma after it.
bool rowReadsBack(const Row& row);

// The whole tab file: 256 records, each ended by CR LF; `longestRecord`
// (when given) gets the length of the longest record.
std::string encodeTab(const TabGrid& grid, std::size_t* longestRecord = nullptr);

// Fields of one record (the reading rules of the tab format).
std::vector<std::string> splitRecord(std::string_view record);

}  // namespace hinagiku::phonebook
