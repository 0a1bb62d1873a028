#include "diary/diary_list.h"

#include <algorithm>
#include <fstream>
#include <map>

#include "calendar/date_time.h"
#include "diary/diary_page.h"
#include "diary/diary_store.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/file_search.h"
#include "richtext/entry_text.h"

namespace hinagiku::diary {

std::string readHeaderBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes;
    if (!file)
        return bytes;
    constexpr std::size_t kBlock = 4096;
    std::size_t lineStart = 0;  // start of the first line not yet complete
    while (bytes.size() < kMaxPageBytes) {
        const std::size_t old = bytes.size();
        bytes.resize(old + kBlock);
        file.read(bytes.data() + old, static_cast<std::streamsize>(kBlock));
        bytes.resize(old + static_cast<std::size_t>(file.gcount()));
        const std::string_view view(bytes);
        // Scan again only when a line end arrived, so one huge line is
        // scanned once.
        const std::size_t newEnd = view.find_first_of("\r\n", old == 0 ? 0 : old - 1);
        if (newEnd != std::string_view::npos) {
            if (const auto end = findHeaderEnd(view.substr(lineStart))) {
                bytes.resize(lineStart + *end);
                return bytes;
            }
            std::size_t last = view.find_last_of("\r\n");
            if (last + 1 == view.size() && view[last] == '\r')
                last = last == 0 ? std::string_view::npos : view.find_last_of("\r\n", last - 1);
            if (last != std::string_view::npos && last + 1 > lineStart)
                lineStart = last + 1;
        }
        if (!file)
            break;
    }
    return bytes;
}

namespace {

constexpr std::string_view kSeparator = " : ";

}  // namespace

MonthList buildMonthList(const std::filesystem::path& folder, int year, int month) {
    MonthList list;
    const auto first = encodeDate(year, month, 1);
    if (!first)
        return list;
    const int days = daysInMonth(year, month);
    const platform::DirectorySnapshot snapshot(folder);
    for (int i = 0; i < days; ++i) {
        const int day = *first + i;
        ListLine line{day, DayKind::None, dateLabel(day)};
        std::string name;
        if (snapshot.exists(pageFileName(day), &name)) {
            const ParsedPage page = parseHeader(readHeaderBytes(folder / name));
            if (page.refusal == Refusal::Damaged) {
                line.kind = DayKind::Damaged;
                line.text += " : ファイル内容不正!!";
            } else {
                line.kind = page.header.hasTitle ? DayKind::Titled : DayKind::Untitled;
                line.text += kSeparator;
                line.text += page.header.title;
                if (page.header.hasTitle)
                    ++list.written;
            }
        } else if (snapshot.exists(legacyFileName(day), &name)) {
            std::ifstream file(folder / name, std::ios::binary);
            std::string head(1024, '\0');
            file.read(head.data(), static_cast<std::streamsize>(head.size()));
            head.resize(static_cast<std::size_t>(file.gcount()));
            line.kind = DayKind::Legacy;
            line.text += kSeparator;
            line.text +=
                "【" + cutCharacters(platform::fromCp932(firstLine(head)), kValueLimit) + "】";
            ++list.written;
        }
        list.lines.push_back(std::move(line));
    }
    list.percent = list.written * 100 / days;
    return list;
}

std::string writtenHint(const MonthList& list) {
    return "月あたり\r日記の記入状況 " + std::to_string(list.written) + "件(" +
           std::to_string(list.percent) + "%)";
}

std::string_view matchMark(MatchKind kind) {
    switch (kind) {
        case MatchKind::Title:
            return "【題名】";
        case MatchKind::Weather:
            return "【天気】";
        case MatchKind::Body:
            return "【本文】";
    }
    return {};
}

namespace {

// The day of a diary file name "yyyymmdd.JNL" in any case, or nothing.
std::optional<int> dayOfPageName(std::string_view name) {
    if (name.size() != 12 || platform::foldAsciiCase(name.substr(8)) != ".jnl")
        return std::nullopt;
    int value[3] = {0, 0, 0};
    const int widths[3] = {4, 2, 2};
    std::size_t pos = 0;
    for (int part = 0; part < 3; ++part) {
        for (int k = 0; k < widths[part]; ++k, ++pos) {
            const char c = name[pos];
            if (c < '0' || c > '9')
                return std::nullopt;
            value[part] = value[part] * 10 + (c - '0');
        }
    }
    return encodeDate(value[0], value[1], value[2]);
}

}  // namespace

std::vector<SearchHit> searchDiary(const std::filesystem::path& folder, int fromYear, int fromMonth,
                                   int toYear, int toMonth, std::string_view text,
                                   const std::function<bool(int day)>& progress) {
    std::vector<SearchHit> hits;
    if (text.empty())
        return hits;
    if (toYear * 100 + toMonth < fromYear * 100 + fromMonth) {
        std::swap(fromYear, toYear);
        std::swap(fromMonth, toMonth);
    }
    const auto first = encodeDate(fromYear, fromMonth, 1);
    const auto lastMonth = encodeDate(toYear, toMonth, 1);
    if (!first || !lastMonth)
        return hits;
    const int last = *lastMonth + daysInMonth(toYear, toMonth) - 1;

    // One listing; each day's file is the one a probe by name would find.
    const platform::DirectorySnapshot snapshot(folder);
    std::map<int, std::string> pages;
    for (const std::string& name : snapshot.names()) {
        const auto day = dayOfPageName(name);
        if (!day || *day < *first || *day > last || pages.contains(*day))
            continue;
        std::string onDisk;
        if (snapshot.exists(pageFileName(*day), &onDisk))
            pages.emplace(*day, onDisk);
    }
    for (const auto& [day, name] : pages) {
        if (progress && !progress(day))
            break;
        const std::filesystem::path path = folder / name;
        std::string bytes = readHeaderBytes(path);
        std::size_t headerEnd = 0;
        const ParsedPage page = parseHeader(bytes, &headerEnd);
        std::optional<MatchKind> kind;
        std::string shown = page.header.title;
        if (page.header.title.find(text) != std::string::npos)
            kind = MatchKind::Title;
        if (page.header.weather.find(text) != std::string::npos) {
            kind = MatchKind::Weather;
            shown = page.header.weather;
        }
        if (!kind && page.refusal == Refusal::None) {
            std::error_code error;
            const auto size = std::filesystem::file_size(path, error);
            std::string whole;
            if (!error && size <= kMaxPageBytes && platform::readWholeFile(path, whole) &&
                whole.size() >= headerEnd) {
                const std::string body =
                    richtext::entryPlainText(std::string_view(whole).substr(headerEnd));
                if (body.find(text) != std::string::npos)
                    kind = MatchKind::Body;
            }
        }
        if (!kind)
            continue;
        SearchHit hit{day, *kind, shown, {}};
        hit.line = dateLabel(day) + std::string(kSeparator) + std::string(matchMark(*kind)) + shown;
        hits.push_back(std::move(hit));
    }
    return hits;
}

}  // namespace hinagiku::diary
