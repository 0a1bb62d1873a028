#include "phonebook/tab_file.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <stdexcept>
#include <string>

#include "phonebook/record_scan.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/file_search.h"

namespace hinagiku::phonebook {
namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Skips the line end at `i` (CR LF, LF or CR).
std::size_t skipLineEnd(std::string_view s, std::size_t i) {
    if (i < s.size() && s[i] == '\r') {
        ++i;
        if (i < s.size() && s[i] == '\n')
            ++i;
    } else if (i < s.size() && s[i] == '\n') {
        ++i;
    }
    return i;
}

// Splits into records the way the field reader sees quotes; false when the
// file ends inside a quoted field.
bool splitRecords(std::string_view s, std::vector<std::string_view>& records) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t start = i;
        bool fieldStart = true;
        while (i < n) {
            const unsigned char k = scan::kClasses[p[i]];
            if (k == scan::kLineEnd)
                break;
            if (fieldStart && k == scan::kQuote) {
                i = scan::closingQuote(p, i + 1, n);
                if (i == n)
                    return false;
                ++i;  // "ab"cd is two fields: a field starts after the quote
                continue;
            }
            if (k == scan::kBlank || k == scan::kComma) {
                fieldStart = true;
                ++i;
                continue;
            }
            fieldStart = false;
            i = scan::unquotedEnd(p, i, n);
        }
        records.push_back(s.substr(start, i - start));
        i = skipLineEnd(s, i);
    }
    return true;
}

void splitLines(std::string_view s, std::vector<std::string_view>& records) {
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t end = i;
        while (end < s.size() && !isLineEnd(s[end]))
            ++end;
        records.push_back(s.substr(i, end - i));
        i = skipLineEnd(s, end);
    }
}

void noteDamage(std::string& damage, const std::string& cause) {
    if (damage.empty())
        damage = cause;
}

}  // namespace

std::string tabFileName(int tab) {
    return std::to_string(tab) + ".CSV";
}

std::vector<std::string_view> tabRecords(std::string_view bytes, bool* openQuote) {
    std::vector<std::string_view> records;
    records.reserve(kRowCount);
    const bool closed = splitRecords(bytes, records);
    if (!closed) {
        records.clear();
        splitLines(bytes, records);
    }
    if (openQuote)
        *openQuote = !closed;
    return records;
}

namespace {

// Fills the grid from one record's fields; a non-empty cell the grid has no
// room for marks the tab damaged.
template <typename Fields>
void placeFields(TabContent& content, std::size_t r, Fields& fields, std::size_t count) {
    for (std::size_t f = 0; f < count; ++f) {
        if (fields[f].empty())
            continue;
        if (r >= static_cast<std::size_t>(kRowCount)) {
            noteDamage(content.damage, "256行を超える行があります");
            return;
        }
        if (f >= static_cast<std::size_t>(kColumnCount)) {
            noteDamage(content.damage, std::to_string(r + 1) + "行目に7つ目以降の項目があります");
            return;
        }
        content.grid.rows[r][f] = std::move(fields[f]);
    }
}

// The reading of split records: each cut to kMaxRecordBytes, then its fields.
void placeRecord(TabContent& content, std::size_t r, std::string_view record) {
    if (record.size() > kMaxRecordBytes) {
        noteDamage(content.damage, std::to_string(r + 1) + "行目が4095バイトを超えています");
        record = record.substr(0, kMaxRecordBytes);
    }
    auto fields = splitRecord(record);
    placeFields(content, r, fields, fields.size());
}

}  // namespace

TabContent parseTab(std::string_view bytes) {
    // One pass finds the records and reads their fields; a record too long
    // to read whole is read again cut short, and a quote that never closes
    // sends the whole file to the line-by-line reading.
    TabContent content;
    content.records.reserve(kRowCount);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::array<std::string, kColumnCount + 1> fields;  // the last: a seventh non-empty one
    std::size_t i = 0;
    for (std::size_t r = 0; i < n; ++r) {
        for (auto& field : fields)
            field.clear();
        std::size_t count = 0;
        const std::size_t end =
            scan::readFields(p, i, n, true, [&](std::size_t f, std::string&& text) {
                if (f < static_cast<std::size_t>(kColumnCount))
                    fields[f] = std::move(text);
                else if (!text.empty() && fields[kColumnCount].empty())
                    fields[kColumnCount] = std::move(text);
                count = std::min<std::size_t>(f + 1, kColumnCount + 1);
            });
        if (end == std::string_view::npos) {
            TabContent lines;
            bool openQuote = false;
            const std::vector<std::string_view> records = tabRecords(bytes, &openQuote);
            if (openQuote)
                noteDamage(lines.damage, "閉じていない引用符があります");
            lines.records.reserve(records.size());
            for (std::size_t l = 0; l < records.size(); ++l) {
                lines.records.emplace_back(records[l]);
                placeRecord(lines, l, records[l]);
            }
            return lines;
        }
        const std::string_view record = bytes.substr(i, end - i);
        content.records.emplace_back(record);
        if (record.size() > kMaxRecordBytes)
            placeRecord(content, r, record);
        else
            placeFields(content, r, fields, count);
        i = skipLineEnd(bytes, end);
    }
    return content;
}

TabFile readTabFile(const std::filesystem::path& folder, int tab) {
    TabFile file = readTabBytes(folder, tab);
    if (file.exists && file.content.damage.empty())
        file.content = parseTab(file.bytes);
    else if (file.exists && !file.bytes.empty()) {
        TabContent shown = parseTab(file.bytes);
        shown.damage = file.content.damage;
        file.content = std::move(shown);
    }
    if (file.exists && file.tooLarge)
        file.content.damage = "4MiBを超えています";
    return file;
}

TabFile readTabBytes(const std::filesystem::path& folder, int tab) {
    return readTabBytes(folder, tab, std::string());
}

std::optional<std::filesystem::path> findTabFile(const std::filesystem::path& folder, int tab) {
    const std::string wanted = platform::foldAsciiCase(tabFileName(tab));
    std::error_code ec;
    // Any entry under the name, whatever its case or kind: a folder or a FIFO
    // named 5.CSV must be reported, never opened or replaced.
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (platform::foldAsciiCase(it->path().filename().string()) == wanted)
            return it->path();
    }
    return std::nullopt;
}

TabFile readTabBytes(const std::filesystem::path& folder, int tab, std::string buffer) {
    TabFile file;
    file.bytes = std::move(buffer);
    const auto found = findTabFile(folder, tab);
    file.exists = found.has_value();
    file.path = found ? *found : folder / tabFileName(tab);
    std::error_code ec;
    if (!file.exists) {
        file.bytes.clear();
        return file;
    }
    const auto status = std::filesystem::status(file.path, ec);
    if (ec || status.type() != std::filesystem::file_type::regular) {
        file.bytes.clear();
        file.content.damage = "通常のファイルではありません";
        return file;
    }
    const auto size = std::filesystem::file_size(file.path, ec);
    std::ifstream in(file.path, std::ios::binary);
    if (ec || !in) {
        file.bytes.clear();
        file.content.damage = "読み込めません";
        return file;
    }
    const std::uintmax_t wantedBytes = std::min<std::uintmax_t>(size, kMaxTabFileBytes);
    // A buffer handed in is only filled where it grows.
    file.bytes.resize(static_cast<std::size_t>(wantedBytes));
    in.read(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(file.bytes.size()) || in.bad()) {
        file.bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
        file.content.damage = "読み込めません";
        return file;
    }
    file.tooLarge = size > kMaxTabFileBytes;
    return file;
}

SaveOutcome saveTabFile(TabFile& file, const TabGrid& grid) {
    if (file.damaged())
        throw std::logic_error("a damaged tab file is never written");
    std::size_t longest = 0;
    std::string bytes = encodeTab(grid, &longest);
    if (longest > kMaxRecordBytes)
        throw std::logic_error("a row over 4095 bytes cannot be saved");
    if (file.exists && bytes == file.bytes)
        return SaveOutcome::Unchanged;
    platform::writeFileAtomically(file.path, bytes);
    file.exists = true;
    file.bytes = std::move(bytes);
    file.content.grid = grid;
    return SaveOutcome::Saved;
}

}  // namespace hinagiku::phonebook
