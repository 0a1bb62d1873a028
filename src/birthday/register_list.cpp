#include "birthday/register_list.h"

#include <algorithm>
#include <cstdio>

#include "birthday/birth_dates.h"
#include "mainwindow/day_view.h"
#include "platform/atomic_file.h"
#include "platform/file_search.h"
#include "schedule/entry_files.h"
#include "schedule/entry_name.h"

namespace hinagiku::birthday {
namespace {

std::optional<int> digits(std::string_view text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool startsWithBorn(std::string_view name) {
    return name.size() >= 4 && platform::foldAsciiCase(name.substr(0, 4)) == "born";
}

}  // namespace

std::optional<CivilDate> birthDateOfEntry(std::string_view name) {
    if (name.size() != 13 || !startsWithBorn(name) || name[8] != '.')
        return std::nullopt;
    const auto m = digits(name.substr(4, 2));
    const auto d = digits(name.substr(6, 2));
    const auto y = digits(name.substr(9, 4));
    if (!m || !d || !y || !encodeDate(*y, *m, *d))
        return std::nullopt;
    return CivilDate{*y, *m, *d};
}

std::string registerItemText(const CivilDate& birth, const CivilDate& today) {
    char text[96];
    std::snprintf(text, sizeof text, "%02d月%02d日【%04d年】あと %d日", birth.month, birth.day,
                  birth.year, daysUntilNextBirthday(birth.month, birth.day, today));
    return text;
}

std::vector<RegisterItem> registerItems(const std::vector<std::string>& names,
                                        const CivilDate& today) {
    std::vector<RegisterItem> items;
    for (const auto& name : names) {
        const auto birth = birthDateOfEntry(name);
        if (!birth)
            continue;
        items.push_back({registerItemText(*birth, today), name, *birth,
                         nextBirthday(birth->month, birth->day, today)});
    }
    std::sort(items.begin(), items.end(), [](const RegisterItem& a, const RegisterItem& b) {
        return a.text != b.text ? a.text < b.text : a.name < b.name;
    });
    return items;
}

std::vector<RegisterItem> registerItems(const std::filesystem::path& folder,
                                        const CivilDate& today) {
    return registerItems(platform::findFiles(folder, "BORN*.*"), today);
}

std::vector<GreetingEntry> greetingEntries(const std::filesystem::path& folder, DateTime today) {
    std::vector<GreetingEntry> entries;
    for (const auto& name : platform::findFiles(folder, schedule::birthdayPattern(today))) {
        GreetingEntry entry;
        entry.name = name;
        std::optional<schedule::EntryContent> content;
        try {
            content = schedule::LoadEntry(folder / name);
        } catch (const platform::IoError& error) {
            entry.error = error.what();
            entries.push_back(std::move(entry));
            continue;
        }
        if (!content)
            continue;  // gone since the listing
        const std::string_view ext =
            std::string_view(name).substr(std::min<std::size_t>(9, name.size()));
        if (name.size() == 13 && name[8] == '.' && digits(ext))
            entry.ageLine = mainwindow::birthdayLine(today, *digits(ext));
        entry.lines = mainwindow::textLines(content->plainText());
        entries.push_back(std::move(entry));
    }
    return entries;
}

Greeting greetingFor(const std::filesystem::path& folder, DateTime today) {
    Greeting greeting;
    for (auto& entry : greetingEntries(folder, today)) {
        if (!entry.error.empty()) {
            greeting.errors.push_back(std::move(entry.error));
            continue;
        }
        ++greeting.entries;
        if (!entry.ageLine.empty())
            greeting.lines.push_back(std::move(entry.ageLine));
        for (auto& line : entry.lines)
            greeting.lines.push_back(std::move(line));
    }
    return greeting;
}

}  // namespace hinagiku::birthday
