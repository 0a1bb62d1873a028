#include "phonebook/tab_file.h"

#include <fstream>
#include <stdexcept>
#include <string>

#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/file_search.h"

namespace hinagiku::phonebook {
namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

std::size_t step(std::string_view s, std::size_t i) {
    if (platform::isCp932LeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
        !isLineEnd(s[i + 1]))
        return 2;
    return 1;
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
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const std::size_t start = i;
        bool fieldStart = true;
        while (i < n && !isLineEnd(s[i])) {
            const char c = s[i];
            if (fieldStart && c == '"') {
                ++i;
                bool closed = false;
                while (i < n) {
                    if (s[i] == '"') {
                        if (i + 1 < n && s[i + 1] == '"') {
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    i += step(s, i);
                }
                if (!closed)
                    return false;
                fieldStart = true;  // "ab"cd is two fields
                continue;
            }
            if (isBlank(c) || c == ',') {
                fieldStart = true;
                ++i;
                continue;
            }
            fieldStart = false;
            i += step(s, i);
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

TabContent parseTab(std::string_view bytes) {
    TabContent content;
    bool openQuote = false;
    const std::vector<std::string_view> records = tabRecords(bytes, &openQuote);
    if (openQuote)
        noteDamage(content.damage, "閉じていない引用符があります");
    content.records.reserve(records.size());
    for (std::size_t r = 0; r < records.size(); ++r) {
        std::string_view record = records[r];
        content.records.emplace_back(record);
        if (record.size() > kMaxRecordBytes) {
            noteDamage(content.damage, std::to_string(r + 1) + "行目が4095バイトを超えています");
            record = record.substr(0, kMaxRecordBytes);
        }
        const auto fields = splitRecord(record);
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (fields[f].empty())
                continue;
            if (r >= static_cast<std::size_t>(kRowCount)) {
                noteDamage(content.damage, "256行を超える行があります");
                break;
            }
            if (f >= static_cast<std::size_t>(kColumnCount)) {
                noteDamage(content.damage,
                           std::to_string(r + 1) + "行目に7つ目以降の項目があります");
                break;
            }
            content.grid.rows[r][f] = fields[f];
        }
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
    TabFile file;
    const std::string wanted = platform::foldAsciiCase(tabFileName(tab));
    file.path = folder / tabFileName(tab);
    std::error_code ec;
    // Any entry under the name, whatever its case or kind: a folder or a FIFO
    // named 5.CSV must be reported, never opened or replaced.
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (platform::foldAsciiCase(name) == wanted) {
            file.path = it->path();
            file.exists = true;
            break;
        }
    }
    if (!file.exists)
        return file;
    const auto status = std::filesystem::status(file.path, ec);
    if (ec || status.type() != std::filesystem::file_type::regular) {
        file.content.damage = "通常のファイルではありません";
        return file;
    }
    const auto size = std::filesystem::file_size(file.path, ec);
    std::ifstream in(file.path, std::ios::binary);
    if (ec || !in) {
        file.content.damage = "読み込めません";
        return file;
    }
    const std::uintmax_t wantedBytes = std::min<std::uintmax_t>(size, kMaxTabFileBytes);
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
    for (const auto& row : grid.rows) {
        if (!rowFits(row))
            throw std::logic_error("a row over 4095 bytes cannot be saved");
    }
    std::string bytes = encodeTab(grid);
    if (file.exists && bytes == file.bytes)
        return SaveOutcome::Unchanged;
    platform::writeFileAtomically(file.path, bytes);
    file.exists = true;
    file.bytes = std::move(bytes);
    file.content.grid = grid;
    return SaveOutcome::Saved;
}

}  // namespace hinagiku::phonebook
