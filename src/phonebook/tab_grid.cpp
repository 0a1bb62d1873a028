#include "phonebook/tab_grid.h"

#include "platform/cp932.h"

namespace hinagiku::phonebook {
namespace {

bool needsQuotes(std::string_view cell) {
    for (const char c : cell) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || c == '"' || c == ',')
            return true;
    }
    return false;
}

void appendCell(std::string& out, std::string_view cell) {
    if (cell.empty())
        cell = " ";  // Windows reads a lone space back as an empty cell
    if (!needsQuotes(cell)) {
        out.append(cell);
        return;
    }
    out.push_back('"');
    for (const char c : cell) {
        out.push_back(c);
        if (c == '"')
            out.push_back('"');
    }
    out.push_back('"');
}

bool isBlank(unsigned char b) {
    return b <= 0x20;
}

// Steps over one character: a lead byte takes its trail byte along, as the
// Windows reader does.
std::size_t step(std::string_view s, std::size_t i) {
    if (platform::isCp932LeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
        s[i + 1] != '\r' && s[i + 1] != '\n')
        return 2;
    return 1;
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
    for (int c = 0; c < kColumnCount; ++c) {
        if (c > 0)
            out.push_back(',');
        appendCell(out, row[c]);
    }
    return out;
}

std::size_t recordLength(const Row& row) {
    return encodeRecord(row).size();
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
    std::string out;
    out.reserve(kRowCount * 24);
    for (const auto& row : grid.rows) {
        out.append(encodeRecord(row));
        out.append("\r\n");
    }
    return out;
}

std::vector<std::string> splitRecord(std::string_view s) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n && isBlank(static_cast<unsigned char>(s[i])))
        ++i;
    while (i < n) {
        std::string field;
        if (s[i] == '"') {
            ++i;
            std::size_t run = i;  // start of the bytes not yet copied
            while (i < n) {
                if (s[i] == '"') {
                    field.append(s.substr(run, i - run));
                    if (i + 1 < n && s[i + 1] == '"') {
                        field.push_back('"');
                        i += 2;
                        run = i;
                        continue;
                    }
                    ++i;
                    run = std::string_view::npos;
                    break;
                }
                i += step(s, i);
            }
            if (run != std::string_view::npos)
                field.append(s.substr(run, std::min(i, n) - run));
        } else {
            const std::size_t start = i;
            while (i < n && !isBlank(static_cast<unsigned char>(s[i])) && s[i] != ',')
                i += step(s, i);
            field.assign(s.substr(start, std::min(i, n) - start));
        }
        fields.push_back(field == " " ? std::string() : std::move(field));
        while (i < n && isBlank(static_cast<unsigned char>(s[i])))
            ++i;
        if (i < n && s[i] == ',') {
            ++i;
            while (i < n && isBlank(static_cast<unsigned char>(s[i])))
                ++i;
        }
    }
    return fields;
}

}  // namespace hinagiku::phonebook
