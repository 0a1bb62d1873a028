#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/date_time.h"

namespace hinagiku::birthday {

// The birth date of a birthday entry name "BORNmmdd.yyyy" (letters in any
// case), or nothing for any other name: BORN0315.txt, BORN0230.1990,
// BORN0229.1981 and BORN0101.0000 are no entries of the register.
std::optional<CivilDate> birthDateOfEntry(std::string_view name);

struct RegisterItem {
    std::string text;  // "03月05日【1980年】あと 0日"
    std::string name;  // the file name as on disk
    CivilDate birth;
    CivilDate next;  // the next birthday counted
};

// "mm月dd日【yyyy年】あと N日".
std::string registerItemText(const CivilDate& birth, const CivilDate& today);

// The list of the register from one listing of the data folder's file
// names: entries only, ordered by text, then by name.
std::vector<RegisterItem> registerItems(const std::vector<std::string>& names,
                                        const CivilDate& today);
std::vector<RegisterItem> registerItems(const std::filesystem::path& folder,
                                        const CivilDate& today);

// The greeting of a day: for each birthday entry of today's month and day
// (files in name order), the age line when the name carries a four-digit
// year, then the entry's plain text lines. Entries that cannot be read add
// a message to `errors` and are left out.
struct GreetingEntry {
    std::string name;                // as on disk
    std::string ageLine;             // empty without a four-digit year
    std::vector<std::string> lines;  // the entry's plain text
    std::string error;               // set when the entry could not be read
};
std::vector<GreetingEntry> greetingEntries(const std::filesystem::path& folder, DateTime today);

struct Greeting {
    std::vector<std::string> lines;
    std::vector<std::string> errors;
    int entries = 0;
};
Greeting greetingFor(const std::filesystem::path& folder, DateTime today);

}  // namespace hinagiku::birthday
