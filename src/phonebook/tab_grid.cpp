#include "phonebook/tab_grid.h"

#include <algorithm>

#include "phonebook/record_scan.h"

namespace hinagiku::phonebook {
namespace {

// Bytes the cell takes in its record.
std::size_t encodedLength(std::string_view cell) {
    if (cell.empty())
        return 3;  // " "
    const scan::CellShape shape = scan::cellShape(cell);
    return shape.quoted ? cell.size() + shape.quotes + 2 : cell.size();
}

void appendCell(std::string& out, std::string_view cell) {
    if (cell.empty())
        cell = " ";  // Windows reads a lone space back as an empty cell
    const scan::CellShape shape = scan::cellShape(cell);
    if (!shape.quoted) {
        out.append(cell);
        return;
    }
    out.push_back('"');
    // Runs up to each quote go in whole; the quote is doubled.
    for (std::size_t left = shape.quotes; left > 0; --left) {
        const std::size_t at = cell.find('"');
        out.append(cell.substr(0, at + 1));
        out.push_back('"');
        cell.remove_prefix(at + 1);
    }
    out.append(cell);
    out.push_back('"');
}

void appendRecord(std::string& out, const Row& row) {
    for (int c = 0; c < kColumnCount; ++c) {
        if (c > 0)
            out.push_back(',');
        appendCell(out, row[c]);
    }
}

}  // namespace

bool TabGrid::empty() const {
    for (const auto& row : rows) {
        for (const auto& cell : row) {
            if (!cell.empty())
                return false;
        }
    }
    return true;
}

std::string encodeRecord(const Row& row) {
    std::string out;
    out.reserve(recordLength(row));
    appendRecord(out, row);
    return out;
}

std::size_t recordLength(const Row& row) {
    std::size_t length = kColumnCount - 1;  // the commas
    for (const auto& cell : row)
        length += encodedLength(cell);
    return length;
}

bool rowFits(const Row& row) {
    return recordLength(row) <= kMaxRecordBytes;
}

bool rowReadsBack(const Row& row) {
    auto fields = splitRecord(encodeRecord(row));
    fields.resize(kColumnCount);
    for (int c = 0; c < kColumnCount; ++c) {
        if (fields[c] != row[c])
            return false;
    }
    return true;
}

std::string encodeTab(const TabGrid& grid, std::size_t* longestRecord) {
    // Room for the cells, their quotes and commas and the line ends; doubled
    // quotes may take it past that once.
    std::size_t total = 0;
    for (const auto& row : grid.rows) {
        for (const auto& cell : row)
            total += cell.size() + 3;
        total += 2;
    }
    total += total / 16;
    std::string out;
    out.reserve(total);
    std::size_t longest = 0;
    for (const auto& row : grid.rows) {
        const std::size_t start = out.size();
        appendRecord(out, row);
        longest = std::max(longest, out.size() - start);
        out.append("\r\n");
    }
    if (longestRecord != nullptr)
        *longestRecord = longest;
    return out;
}

std::vector<std::string> splitRecord(std::string_view s) {
    std::vector<std::string> fields;
    fields.reserve(kColumnCount);
    scan::readFields(reinterpret_cast<const unsigned char*>(s.data()), 0, s.size(), false,
                     [&](std::size_t, std::string&& field) { fields.push_back(std::move(field)); });
    return fields;
}

}  // namespace hinagiku::phonebook
