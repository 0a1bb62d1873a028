// hinagikuctl holidays|equinox|qreki|moon|format: the calendar computations
// for scripts, one record a line.
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/format_date.h"
#include "calendar/holidays.h"
#include "calendar/lunisolar.h"
#include "calendar/moon.h"
#include "command_registry.h"
#include "core/home_folder.h"
#include "platform/clock.h"
#include "platform/memory_settings.h"
#include "platform/profile_file.h"

namespace hinagiku::ctl {
namespace {

constexpr std::string_view kHolidaysUsage =
    "holidays [--defaults] [--law] [--no-happy-monday] FROM TO";
constexpr std::string_view kEquinoxUsage = "equinox YEAR";
constexpr std::string_view kQrekiUsage = "qreki FROM TO";
constexpr std::string_view kMoonUsage = "moon [--local] YYYY-MM-DDTHH:MM[:SS]";
constexpr std::string_view kFormatUsage = "format PATTERN [YYYY-MM-DDTHH:MM[:SS]]";

// The holiday sections of the settings file, read once: one run of the
// command is one moment, and reading the file for every day of two
// centuries would cost more than the computation.
void copySection(const platform::Settings& from, std::string_view section, platform::Settings& to) {
    for (const auto& key : from.listKeys(section))
        to.writeText(section, key, from.readText(section, key, ""));
}

bool allDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

int toInt(std::string_view digits) {
    int value = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || ptr != digits.data() + digits.size())
        return -1;
    return value;
}

// A parse result: the value, or the message explaining why there is none.
struct Parsed {
    std::optional<DateTime> value;
    std::string problem;
};

// YYYY-MM-DD within years 1 to 9999.
Parsed parseDate(std::string_view text) {
    const std::size_t first = text.find('-');
    const std::size_t second = first == std::string_view::npos ? first : text.find('-', first + 1);
    const std::string quoted = "'" + std::string(text) + "'";
    if (second == std::string_view::npos || !allDigits(text.substr(0, first)) ||
        text.substr(first + 1, second - first - 1).size() != 2 ||
        text.substr(second + 1).size() != 2 ||
        !allDigits(text.substr(first + 1, second - first - 1)) ||
        !allDigits(text.substr(second + 1))) {
        return {std::nullopt, "malformed date " + quoted + " (expected YYYY-MM-DD)"};
    }
    const int year = first > 5 ? -1 : toInt(text.substr(0, first));
    if (year < 1 || year > 9999) {
        return {std::nullopt, "date " + quoted + " is outside the years 1 to 9999"};
    }
    const auto day =
        encodeDate(year, toInt(text.substr(first + 1, 2)), toInt(text.substr(second + 1)));
    if (!day)
        return {std::nullopt, "no such date " + quoted};
    return {static_cast<DateTime>(*day), {}};
}

// YYYY-MM-DDTHH:MM[:SS].
Parsed parseInstant(std::string_view text) {
    const std::size_t t = text.find('T');
    const std::string quoted = "'" + std::string(text) + "'";
    if (t == std::string_view::npos) {
        return {std::nullopt, "malformed time " + quoted + " (expected YYYY-MM-DDTHH:MM[:SS])"};
    }
    Parsed date = parseDate(text.substr(0, t));
    if (!date.value)
        return date;
    const std::string_view clock = text.substr(t + 1);
    const bool withSeconds = clock.size() == 8;
    if ((clock.size() != 5 && !withSeconds) || clock[2] != ':' ||
        (withSeconds && clock[5] != ':') || !allDigits(clock.substr(0, 2)) ||
        !allDigits(clock.substr(3, 2)) || (withSeconds && !allDigits(clock.substr(6, 2)))) {
        return {std::nullopt, "malformed time " + quoted + " (expected YYYY-MM-DDTHH:MM[:SS])"};
    }
    const auto fraction = encodeTime(toInt(clock.substr(0, 2)), toInt(clock.substr(3, 2)),
                                     withSeconds ? toInt(clock.substr(6, 2)) : 0);
    if (!fraction)
        return {std::nullopt, "no such time of day " + quoted};
    return {makeDateTime(dayNumber(*date.value), *fraction), {}};
}

std::string isoDate(DateTime value) {
    const CivilDate c = decodeDate(value);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", c.year, c.month, c.day);
    return buffer;
}

// Splits the words into options (those starting with "--") and the rest;
// an option not in `known` is an error.
bool splitOptions(const std::vector<std::string>& args,
                  std::initializer_list<std::string_view> known, std::vector<std::string>& options,
                  std::vector<std::string>& rest, std::string& problem) {
    for (const auto& word : args) {
        if (word.size() > 2 && word.rfind("--", 0) == 0) {
            bool found = false;
            for (auto k : known)
                found = found || word == k;
            if (!found) {
                problem = "unknown option " + word;
                return false;
            }
            options.push_back(word);
        } else {
            rest.push_back(word);
        }
    }
    return true;
}

bool has(const std::vector<std::string>& options, std::string_view option) {
    for (const auto& o : options) {
        if (o == option)
            return true;
    }
    return false;
}

// FROM and TO as day numbers, or a usage error already reported.
std::optional<std::pair<int, int>> parseRange(CommandContext& context, std::string_view usage,
                                              const std::vector<std::string>& words, int& status) {
    if (words.size() != 2) {
        status = usageError(context, usage);
        return std::nullopt;
    }
    const Parsed from = parseDate(words[0]);
    const Parsed to = parseDate(words[1]);
    for (const Parsed* p : {&from, &to}) {
        if (!p->value) {
            status = usageError(context, usage, p->problem);
            return std::nullopt;
        }
    }
    if (*from.value > *to.value) {
        status = usageError(context, usage, "FROM " + words[0] + " is after TO " + words[1]);
        return std::nullopt;
    }
    return std::pair{dayNumber(*from.value), dayNumber(*to.value)};
}

int runHolidays(CommandContext& context) {
    std::vector<std::string> options, words;
    std::string problem;
    if (!splitOptions(context.args, {"--defaults", "--law", "--no-happy-monday"}, options, words,
                      problem)) {
        return usageError(context, kHolidaysUsage, problem);
    }
    int status = kExitOk;
    const auto range = parseRange(context, kHolidaysUsage, words, status);
    if (!range)
        return status;

    // --defaults: the eleven-entry table instead of the file's; --law and
    // --no-happy-monday: the switches set whatever the file says (the file
    // itself is left alone).
    platform::MemorySettings settings;
    if (has(options, "--defaults")) {
        writeDefaultHolidays(settings);
    } else {
        const platform::ProfileFile file(core::settingsFilePath());
        copySection(file, kHolidaySection, settings);
        copySection(file, kHolidayLawSection, settings);
        copySection(file, kHappyMondaySection, settings);
    }
    if (has(options, "--law"))
        settings.writeBool(kHolidayLawSection, kHolidayLawKey, true);
    if (has(options, "--no-happy-monday"))
        settings.writeBool(kHappyMondaySection, kHappyMondayKey, false);

    for (int day = range->first; day <= range->second; ++day) {
        const auto names = HolidayNames(day, settings);
        if (names.empty())
            continue;
        context.out << isoDate(day);
        for (const auto& name : names)
            context.out << '\t' << name;
        context.out << '\n';
    }
    return kExitOk;
}

int runEquinox(CommandContext& context) {
    if (context.args.size() != 1)
        return usageError(context, kEquinoxUsage);
    const std::string& word = context.args[0];
    const int year = allDigits(word) && word.size() <= 5 ? toInt(word) : -1;
    if (year < 1 || year > 9999) {
        return usageError(context, kEquinoxUsage, "YEAR must be a year from 1 to 9999");
    }
    const auto [vernal, autumnal] = EquinoxDays(year);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-03-%02d\t%04d-09-%02d", year, vernal, year,
                  autumnal);
    context.out << buffer << '\n';
    return kExitOk;
}

int runQreki(CommandContext& context) {
    int status = kExitOk;
    const auto range = parseRange(context, kQrekiUsage, context.args, status);
    if (!range)
        return status;
    for (int day = range->first; day <= range->second; ++day) {
        const LunisolarDay lunisolar = LunisolarDate(lunisolarDayNumber(day));
        context.out << isoDate(day) << '\t' << lunisolar.month << '\t' << (lunisolar.leap ? 1 : 0)
                    << '\t' << lunisolar.day << '\t' << rokuyoOf(lunisolar) << '\t'
                    << SolarTermName(day) << '\n';
    }
    return kExitOk;
}

int runMoon(CommandContext& context) {
    std::vector<std::string> options, words;
    std::string problem;
    if (!splitOptions(context.args, {"--local"}, options, words, problem)) {
        return usageError(context, kMoonUsage, problem);
    }
    if (words.size() != 1)
        return usageError(context, kMoonUsage);
    const Parsed when = parseInstant(words[0]);
    if (!when.value)
        return usageError(context, kMoonUsage, when.problem);
    DateTime instant = *when.value;
    if (has(options, "--local")) {
        const platform::SystemClock clock;
        instant = fromElapsedDays(elapsedDays(instant) + clock.timeZoneBiasMinutes() / 1440.0);
    }
    const MoonValues values = moonValues(instant);
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%.5f\t%.6f\t%d\t%.4f\t", values.julianDate, values.age,
                  illuminationPercent(values.illumination), values.phaseAngle);
    context.out << buffer << moonAgeText(values.age) << '\n';
    return kExitOk;
}

int runFormat(CommandContext& context) {
    const auto& a = context.args;
    if (a.empty() || a.size() > 2)
        return usageError(context, kFormatUsage);
    DateTime value = 0.0;
    if (a.size() == 2) {
        const Parsed when = parseInstant(a[1]);
        if (!when.value)
            return usageError(context, kFormatUsage, when.problem);
        value = *when.value;
    } else {
        value = platform::SystemClock().now();
    }
    context.out << FormatDate(a[0], value) << '\n';
    return kExitOk;
}

const CommandRegistration holidaysRegistration{"holidays", kHolidaysUsage, &runHolidays};
const CommandRegistration equinoxRegistration{"equinox", kEquinoxUsage, &runEquinox};
const CommandRegistration qrekiRegistration{"qreki", kQrekiUsage, &runQreki};
const CommandRegistration moonRegistration{"moon", kMoonUsage, &runMoon};
const CommandRegistration formatRegistration{"format", kFormatUsage, &runFormat};

}  // namespace
}  // namespace hinagiku::ctl
