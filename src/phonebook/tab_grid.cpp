#include "phonebook/tab_grid.h"

#include "phonebook/record_scan.h"

namespace hinagiku::phonebook {
namespace {

bool needsQuotes(std::string_view cell) {
    for (const char c : cell) {
        const unsigned char k = scan::kClasses[static_cast<unsigned char>(c)];
        if (k == scan::kBlank || k == scan::kLineEnd || k == scan::kComma || k == scan::kQuote)
            return true;
    }
    return false;
}

std::size_t quoteCount(std::string_view cell) {
    std::size_t count = 0;
    for (const char c : cell)
        count += c == '"' ? 1 : 0;
    return count;
}

// Bytes the cell takes in its record.
std::size_t encodedLength(std::string_view cell) {
    if (cell.empty())
        return 3;  // " "
    if (!needsQuotes(cell))
        return cell.size();
    return cell.size() + quoteCount(cell) + 2;
}

void appendCell(std::string& out, std::string_view cell) {
    if (cell.empty())
        cell = " ";  // Windows reads a lone space back as an empty cell
    if (!needsQuotes(cell)) {
        out.append(cell);
        return;
    }
    out.push_back('"');
    // Runs up to each quote go in whole; the quote is doubled.
    for (std::size_t at = cell.find('"'); at != std::string_view::npos; at = cell.find('"')) {
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

std::string encodeTab(const TabGrid& grid) {
    std::size_t total = 0;
    for (const auto& row : grid.rows)
        total += recordLength(row) + 2;
    std::string out;
    out.reserve(total);
    for (const auto& row : grid.rows) {
        appendRecord(out, row);
        out.append("\r\n");
    }
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
