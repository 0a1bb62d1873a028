// hinagikuctl birthday almanac|from-age|flowers|bio|list|greeting: the
// birthday register's almanac and list for scripts, one record a line,
// fields separated by TAB.
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "birthday/almanac.h"
#include "birthday/biorhythm.h"
#include "birthday/birth_dates.h"
#include "birthday/register_list.h"
#include "calendar/format_date.h"
#include "command_registry.h"
#include "core/home_folder.h"
#include "platform/clock.h"
#include "platform/file_search.h"
#include "platform/profile_file.h"
#include "schedule/entry_files.h"

namespace hinagiku::ctl {
namespace {

using namespace hinagiku::birthday;

constexpr std::string_view kUsage =
    "birthday almanac|from-age|flowers|bio|list|greeting ...\n"
    "      almanac [--today DATE] [--signs 12|13] Y-M-D...   (the register's date rules:\n"
    "               year kept to 1-9999, month to 1-12, day 1-31 lowered until the date exists)\n"
    "      from-age AGE M-D [--today DATE]   (the birth date the age gives, AGE 0-150)\n"
    "      flowers                           (mmdd, flower, flower language; 366 lines)\n"
    "      bio Y-M-D YEAR MONTH W H          (i, x, n+i, red y, blue y, green y; i 0-31)\n"
    "      list [--today DATE]               (text, name, next birthday)\n"
    "      greeting [--today DATE]           (name, age line)\n"
    "      DATE: YYYY-MM-DD; --today defaults to the clock";

std::optional<long long> decimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text[0] == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::vector<std::string_view> splitDashes(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const auto dash = text.find('-', start);
        parts.push_back(text.substr(start, dash - start));
        if (dash == std::string_view::npos)
            return parts;
        start = dash + 1;
    }
}

// YYYY-MM-DD, a real date.
std::optional<CivilDate> strictDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto y = decimal(text.substr(0, 4)), m = decimal(text.substr(5, 2)),
               d = decimal(text.substr(8, 2));
    if (!y || !m || !d || !encodeDate(int(*y), int(*m), int(*d)))
        return std::nullopt;
    return CivilDate{int(*y), int(*m), int(*d)};
}

// Y-M-D in decimal with the register's rules (day 1-31 required).
std::optional<CivilDate> registerArgument(std::string_view text) {
    const auto parts = splitDashes(text);
    if (parts.size() != 3)
        return std::nullopt;
    const auto y = decimal(parts[0]), m = decimal(parts[1]), d = decimal(parts[2]);
    if (!y || !m || !d || *d < 1 || *d > 31)
        return std::nullopt;
    const auto clampInt = [](long long v) {
        return static_cast<int>(v < -100000 ? -100000 : (v > 100000 ? 100000 : v));
    };
    return registerDate(clampInt(*y), clampInt(*m), int(*d));
}

std::string slashDate(const CivilDate& d) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", d.year, d.month, d.day);
    return text;
}

CivilDate clockToday() {
    return decodeDate(platform::SystemClock().now());
}

// Takes "--today DATE" (and the flags in `valueFlags`) out of the words.
struct Options {
    CivilDate today;
    std::optional<std::string> signs;
    std::vector<std::string> rest;
    std::string problem;
};

Options parseOptions(const std::vector<std::string>& args, bool allowSigns) {
    Options options;
    options.today = clockToday();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--today" || (allowSigns && a == "--signs")) {
            if (i + 1 >= args.size()) {
                options.problem = a + " needs a value";
                return options;
            }
            const std::string& value = args[++i];
            if (a == "--today") {
                const auto date = strictDate(value);
                if (!date) {
                    options.problem = "not a date: " + value;
                    return options;
                }
                options.today = *date;
            } else {
                options.signs = value;
            }
        } else {
            options.rest.push_back(a);
        }
    }
    return options;
}

int almanac(CommandContext& context, const std::vector<std::string>& args) {
    Options options = parseOptions(args, true);
    if (!options.problem.empty())
        return usageError(context, kUsage, options.problem);
    if (options.rest.empty())
        return usageError(context, kUsage, "almanac needs at least one Y-M-D");
    bool thirteen = false;
    if (options.signs) {
        if (*options.signs != "12" && *options.signs != "13")
            return usageError(context, kUsage, "--signs takes 12 or 13");
        thirteen = *options.signs == "13";
    } else {
        const platform::ProfileFile settings(core::settingsFilePath());
        thirteen = settings.readInt("Birthday", "Seiza", 0) != 0;
    }
    std::vector<CivilDate> dates;
    for (const auto& word : options.rest) {
        const auto date = registerArgument(word);
        if (!date)
            return usageError(context, kUsage, "not a birth date: " + word);
        dates.push_back(*date);
    }
    for (const auto& date : dates) {
        const Almanac a = almanacFor(date, options.today, thirteen);
        context.out << slashDate(date) << '\t' << a.age << '\t' << a.ageName << '\t'
                    << a.celebration << '\t' << a.sign.name << '\t' << a.sign.range << '\t'
                    << a.sign.picture << '\t' << a.animal.name << '\t' << a.animal.picture << '\t'
                    << a.month.name << '\t' << a.month.birthstone << '\t' << a.month.picture << '\t'
                    << a.month.flowerText << '\t' << a.flower.flower << '\t' << a.flower.language
                    << '\t' << a.rokuyo << '\t' << a.entryName << '\n';
    }
    return kExitOk;
}

int fromAge(CommandContext& context, const std::vector<std::string>& args) {
    const Options options = parseOptions(args, false);
    if (!options.problem.empty())
        return usageError(context, kUsage, options.problem);
    if (options.rest.size() != 2)
        return usageError(context, kUsage, "from-age takes AGE and M-D");
    const auto age = decimal(options.rest[0]);
    if (!age || *age < 0 || *age > 150)
        return usageError(context, kUsage, "the age is a whole number 0-150: " + options.rest[0]);
    const auto parts = splitDashes(options.rest[1]);
    std::optional<long long> m, d;
    if (parts.size() == 2) {
        m = decimal(parts[0]);
        d = decimal(parts[1]);
    }
    if (!m || !d || *m < 1 || *m > 12 || *d < 1 || *d > 31)
        return usageError(context, kUsage, "not a month and day: " + options.rest[1]);
    const int year = birthYearForAge(int(*age), int(*m), int(*d), options.today);
    context.out << slashDate(registerDate(year, int(*m), int(*d))) << '\n';
    return kExitOk;
}

int flowers(CommandContext& context, const std::vector<std::string>& args) {
    if (!args.empty())
        return usageError(context, kUsage, "flowers takes no arguments");
    const BirthFlower* rows = birthFlowerTable();
    for (int i = 0; i < kBirthFlowerRows; ++i) {
        char key[8];
        std::snprintf(key, sizeof key, "%04d", rows[i].key);
        context.out << key << '\t' << rows[i].flower << '\t' << rows[i].language << '\n';
    }
    return kExitOk;
}

int bio(CommandContext& context, const std::vector<std::string>& args) {
    if (args.size() != 5)
        return usageError(context, kUsage, "bio takes Y-M-D YEAR MONTH W H");
    const auto birth = registerArgument(args[0]);
    const auto year = decimal(args[1]), month = decimal(args[2]), w = decimal(args[3]),
               h = decimal(args[4]);
    if (!birth)
        return usageError(context, kUsage, "not a birth date: " + args[0]);
    if (!year || !month || *year < 1 || *year > 9999 || *month < 1 || *month > 12)
        return usageError(context, kUsage, "YEAR 1-9999 and MONTH 1-12");
    if (!w || !h || *w < 1 || *h < 1 || *w > 100000 || *h > 100000)
        return usageError(context, kUsage, "W and H are 1-100000 pixels");
    const Biorhythm chart = biorhythmFor(*birth, int(*year), int(*month), int(*w), int(*h));
    for (int i = 0; i < kBiorhythmPoints; ++i) {
        context.out << i << '\t' << chart.physical[i].x << '\t' << chart.n + i << '\t'
                    << chart.physical[i].y << '\t' << chart.emotional[i].y << '\t'
                    << chart.intellectual[i].y << '\n';
    }
    return kExitOk;
}

// The data folder of the home folder's settings, or nothing after a message.
std::optional<std::string> dataFolder(CommandContext& context) {
    const platform::ProfileFile settings(core::settingsFilePath());
    const std::string folder = schedule::scheduleFolder(settings);
    if (folder.empty()) {
        context.err << "hinagikuctl: no data folder is set ([Calendar] Directory in "
                    << core::settingsFilePath().string() << ")\n";
        return std::nullopt;
    }
    if (!platform::folderExists(folder)) {
        context.err << "hinagikuctl: the data folder " << folder << " does not exist\n";
        return std::nullopt;
    }
    return folder;
}

int list(CommandContext& context, const std::vector<std::string>& args) {
    const Options options = parseOptions(args, false);
    if (!options.problem.empty())
        return usageError(context, kUsage, options.problem);
    if (!options.rest.empty())
        return usageError(context, kUsage, "list takes only --today");
    const auto folder = dataFolder(context);
    if (!folder)
        return kExitIoError;
    for (const auto& item : registerItems(*folder, options.today))
        context.out << item.text << '\t' << item.name << '\t' << slashDate(item.next) << '\n';
    return kExitOk;
}

int greeting(CommandContext& context, const std::vector<std::string>& args) {
    const Options options = parseOptions(args, false);
    if (!options.problem.empty())
        return usageError(context, kUsage, options.problem);
    if (!options.rest.empty())
        return usageError(context, kUsage, "greeting takes only --today");
    const auto folder = dataFolder(context);
    if (!folder)
        return kExitIoError;
    const DateTime today = dayNumberOf(options.today);
    int status = kExitOk;
    for (const auto& item : greetingEntries(*folder, today)) {
        if (!item.error.empty()) {
            context.err << "hinagikuctl: " << item.error << '\n';
            status = kExitIoError;
            continue;
        }
        context.out << item.name << '\t' << item.ageLine << '\n';
    }
    return status;
}

int run(CommandContext& context) {
    if (context.args.empty())
        return usageError(context, kUsage);
    const std::string sub = context.args[0];
    const std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
    if (sub == "almanac")
        return almanac(context, rest);
    if (sub == "from-age")
        return fromAge(context, rest);
    if (sub == "flowers")
        return flowers(context, rest);
    if (sub == "bio")
        return bio(context, rest);
    if (sub == "list")
        return list(context, rest);
    if (sub == "greeting")
        return greeting(context, rest);
    return usageError(context, kUsage, "unknown birthday command: " + sub);
}

const CommandRegistration birthdayRegistration{"birthday", kUsage, &run};

}  // namespace
}  // namespace hinagiku::ctl
