// hinagikuctl day|due|marks|describe|name: the schedule store for scripts.
// day, due and marks read the data folder of the home folder's settings.
#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command_registry.h"
#include "core/home_folder.h"
#include "platform/file_search.h"
#include "platform/profile_file.h"
#include "schedule/day_facts.h"
#include "schedule/day_marks.h"
#include "schedule/day_matching.h"
#include "schedule/entry_decoder.h"
#include "schedule/entry_files.h"
#include "schedule/entry_name.h"
#include "schedule/probe_sequence.h"
#include "schedule/snapshot_store.h"

namespace hinagiku::ctl {
namespace {

using namespace hinagiku::schedule;

constexpr std::string_view kDayUsage = "day YYYY-MM-DD";
constexpr std::string_view kDueUsage = "due YYYY-MM-DDTHH:MM";
constexpr std::string_view kMarksUsage = "marks YEAR MONTH";
constexpr std::string_view kDescribeUsage = "describe NAME...";
constexpr std::string_view kNameUsage =
    "name todo|popup|uptime|birthday OPTIONS\n"
    "      todo     --kind dated|yearly|monthly|weekday --date YYYY-MM-DD\n"
    "               [--shift SHIFT] (yearly, monthly) [--weeks WEEKS | --mask N] (weekday)\n"
    "      popup    --kind daily|dated|yearly|monthly|weekday --time HH:MM [--date YYYY-MM-DD]\n"
    "               [--shift SHIFT] (yearly, monthly) [--weeks WEEKS | --mask N] (weekday)\n"
    "      uptime   --seconds N   (cut to a multiple of 10, kept within 60..3456000)\n"
    "      birthday --date YYYY-MM-DD   (the birth date)\n"
    "      weekday kinds take --weekday SUN..SAT instead of --date;\n"
    "      SHIFT: none | prev | prev-sat | next | next-sat (move off a holiday to the\n"
    "        previous or next working day; -sat: a Saturday counts as a day off too);\n"
    "      WEEKS: every | last | week numbers 1-5 joined by commas (1,3);\n"
    "      N: the week mask, 1, 2, 4, 8, 16 for weeks 1-5 added up, or 32 for the last week";

bool allDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

std::optional<int> number(std::string_view digits) {
    if (!allDigits(digits) || digits.size() > 9)
        return std::nullopt;
    int value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

// YYYY-MM-DD, a date of the years 1 to 9999.
std::optional<int> parseDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto y = number(text.substr(0, 4)), m = number(text.substr(5, 2)),
               d = number(text.substr(8, 2));
    if (!y || !m || !d)
        return std::nullopt;
    return encodeDate(*y, *m, *d);
}

// HH:MM.
std::optional<double> parseTime(std::string_view text) {
    if (text.size() != 5 || text[2] != ':')
        return std::nullopt;
    const auto h = number(text.substr(0, 2)), m = number(text.substr(3, 2));
    if (!h || !m)
        return std::nullopt;
    return encodeTime(*h, *m);
}

// The data folder of the home folder's settings, or a message and kExitIoError.
struct Folder {
    std::string path;
    int status = kExitOk;
};

Folder dataFolder(CommandContext& context, const platform::Settings& settings) {
    Folder folder{scheduleFolder(settings)};
    if (folder.path.empty()) {
        context.err << "hinagikuctl: no data folder is set ([Calendar] Directory in "
                    << core::settingsFilePath().string() << ")\n";
        folder.status = kExitIoError;
    } else if (!platform::folderExists(folder.path)) {
        context.err << "hinagikuctl: the data folder " << folder.path << " does not exist\n";
        folder.status = kExitIoError;
    }
    return folder;
}

int dayCommand(CommandContext& context) {
    if (context.args.size() != 1)
        return usageError(context, kDayUsage);
    const auto date = parseDate(context.args[0]);
    if (!date)
        return usageError(context, kDayUsage, "not a date: " + context.args[0]);
    const platform::ProfileFile settings(core::settingsFilePath());
    const Folder folder = dataFolder(context, settings);
    if (folder.status != kExitOk)
        return folder.status;
    const SnapshotStore store(folder.path);
    for (const auto& match : EntriesForDay(*date, store, DayFacts(settings))) {
        context.out << familyWord(match.family) << '\t' << kindWord(match.kind) << '\t'
                    << match.name << '\t'
                    << (match.birthYear ? std::to_string(*match.birthYear) : "") << '\n';
    }
    return kExitOk;
}

int dueCommand(CommandContext& context) {
    if (context.args.size() != 1)
        return usageError(context, kDueUsage);
    const std::string& when = context.args[0];
    const auto date =
        when.size() == 16 && when[10] == 'T' ? parseDate(when.substr(0, 10)) : std::nullopt;
    const auto time = date ? parseTime(std::string_view(when).substr(11)) : std::nullopt;
    if (!date || !time)
        return usageError(context, kDueUsage, "not a date and time: " + when);
    const platform::ProfileFile settings(core::settingsFilePath());
    const Folder folder = dataFolder(context, settings);
    if (folder.status != kExitOk)
        return folder.status;
    const SnapshotStore store(folder.path);
    for (const auto& hit : probePopupMinute(*date + *time, store, DayFacts(settings))) {
        context.out << hit.name << '\n';
    }
    return kExitOk;
}

int marksCommand(CommandContext& context) {
    if (context.args.size() != 2)
        return usageError(context, kMarksUsage);
    const auto year = number(context.args[0]), month = number(context.args[1]);
    if (!year || !month || *year < 1 || *year > 9999 || *month < 1 || *month > 12) {
        return usageError(context, kMarksUsage, "YEAR is 1 to 9999 and MONTH 1 to 12");
    }
    const platform::ProfileFile settings(core::settingsFilePath());
    const Folder folder = dataFolder(context, settings);
    if (folder.status != kExitOk)
        return folder.status;
    const DayMarks marks = buildDayMarks(*year, *month, SnapshotStore(folder.path), settings);
    context.out << "holidays";
    for (const auto& key : marks.holidays)
        context.out << '\t' << key;
    context.out << "\nspecial";
    for (const auto& key : marks.specialDays)
        context.out << '\t' << key;
    context.out << '\n';
    return kExitOk;
}

int describeCommand(CommandContext& context) {
    if (context.args.empty())
        return usageError(context, kDescribeUsage);
    for (const auto& name : context.args) {
        for (char c : name) {
            // A tab or line break would break the record.
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                return usageError(context, kDescribeUsage, "a name holds a control character");
            }
        }
    }
    for (const auto& name : context.args) {
        context.out << name << '\t' << familyWord(decodeEntryName(name).family) << '\t'
                    << describeEntry(name) << '\n';
    }
    return kExitOk;
}

// --key value and --key=value words after the family.
struct Options {
    std::map<std::string, std::string> values;
    std::string problem;
};

Options parseOptions(const std::vector<std::string>& args, std::size_t from,
                     const std::vector<std::string_view>& allowed) {
    Options options;
    for (std::size_t i = from; i < args.size(); ++i) {
        std::string word = args[i];
        if (word.rfind("--", 0) != 0) {
            options.problem = "unexpected argument: " + word;
            return options;
        }
        std::string value;
        const std::size_t equals = word.find('=');
        if (equals != std::string::npos) {
            value = word.substr(equals + 1);
            word.resize(equals);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            options.problem = word + " needs a value";
            return options;
        }
        const std::string key = word.substr(2);
        if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
            options.problem = "unknown option: " + word;
            return options;
        }
        if (options.values.count(key)) {
            options.problem = word + " given twice";
            return options;
        }
        options.values[key] = value;
    }
    return options;
}

std::optional<ShiftKind> parseShift(std::string_view word) {
    if (word == "none")
        return ShiftKind::None;
    if (word == "prev")
        return ShiftKind::PreviousDay;
    if (word == "prev-sat")
        return ShiftKind::PreviousDaySaturdayOff;
    if (word == "next")
        return ShiftKind::NextDay;
    if (word == "next-sat")
        return ShiftKind::NextDaySaturdayOff;
    return std::nullopt;
}

std::optional<WeekMask> parseWeeks(std::string_view word) {
    if (word == "every")
        return kEveryWeek;
    if (word == "last")
        return kLastWeek;
    WeekMask mask = 0;
    std::size_t start = 0;
    while (start <= word.size()) {
        const std::size_t comma = std::min(word.find(',', start), word.size());
        const auto week = number(word.substr(start, comma - start));
        if (!week || *week < 1 || *week > 5)
            return std::nullopt;
        mask |= 1 << (*week - 1);
        start = comma + 1;
    }
    return mask;
}

// The weekday date of --weekday: a day in the week of 2000-01-02 (a Sunday).
std::optional<int> weekdayDate(std::string_view code) {
    const int weekday = weekdayFromCode(code);
    if (weekday == 0)
        return std::nullopt;
    return dayNumberOf({2000, 1, 1}) + weekday;
}

int nameCommand(CommandContext& context) {
    const auto& args = context.args;
    if (args.empty())
        return usageError(context, kNameUsage);
    const std::string& family = args[0];
    const auto fail = [&](const std::string& problem) {
        return usageError(context, kNameUsage, problem);
    };

    if (family == "uptime") {
        const Options options = parseOptions(args, 1, {"seconds"});
        if (!options.problem.empty())
            return fail(options.problem);
        const auto it = options.values.find("seconds");
        if (it == options.values.end())
            return fail("uptime needs --seconds");
        long long seconds = 0;
        const auto& text = it->second;
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
        if (ec != std::errc() || ptr != text.data() + text.size())
            return fail("not a number: " + text);
        context.out << UptimeEntryName(roundUptimeSeconds(seconds)) << '\n';
        return kExitOk;
    }
    if (family == "birthday") {
        const Options options = parseOptions(args, 1, {"date"});
        if (!options.problem.empty())
            return fail(options.problem);
        const auto it = options.values.find("date");
        if (it == options.values.end())
            return fail("birthday needs --date");
        const auto date = parseDate(it->second);
        if (!date)
            return fail("not a date: " + it->second);
        context.out << BirthdayEntryName(*date) << '\n';
        return kExitOk;
    }
    if (family != "todo" && family != "popup")
        return fail("unknown family: " + family);
    const bool popup = family == "popup";
    const Options options =
        parseOptions(args, 1, {"kind", "date", "weekday", "time", "shift", "weeks", "mask"});
    if (!options.problem.empty())
        return fail(options.problem);
    const auto value = [&](const std::string& key) -> const std::string* {
        const auto it = options.values.find(key);
        return it == options.values.end() ? nullptr : &it->second;
    };

    const std::string* kindWordGiven = value("kind");
    if (!kindWordGiven)
        return fail(family + " needs --kind");
    const std::string& kind = *kindWordGiven;
    const bool weekday = kind == "weekday";
    const bool shifting = kind == "yearly" || kind == "monthly";
    const bool known = kind == "dated" || shifting || weekday || (popup && kind == "daily");
    if (!known)
        return fail("unknown kind for " + family + ": " + kind);

    if (popup != (value("time") != nullptr)) {
        return fail(popup ? "popup needs --time" : "--time is for popup entries");
    }
    if (value("shift") && !shifting)
        return fail("--shift is for yearly and monthly entries");
    if ((value("weeks") || value("mask")) && !weekday)
        return fail("--weeks and --mask are for weekday entries");
    if (value("weeks") && value("mask"))
        return fail("give --weeks or --mask, not both");
    if (value("weekday") && !weekday)
        return fail("--weekday is for weekday entries");
    if (value("weekday") && value("date"))
        return fail("give --date or --weekday, not both");

    std::optional<int> date;
    if (const std::string* text = value("date")) {
        date = parseDate(*text);
        if (!date)
            return fail("not a date: " + *text);
    } else if (const std::string* code = value("weekday")) {
        date = weekdayDate(*code);
        if (!date)
            return fail("not a weekday: " + *code + " (SUN..SAT)");
    } else if (popup && kind == "daily") {
        date = dayNumberOf({2000, 1, 1});
    } else {
        return fail(kind + " entries need --date" + (weekday ? " or --weekday" : ""));
    }

    ShiftKind shift = ShiftKind::None;
    if (const std::string* text = value("shift")) {
        const auto parsed = parseShift(*text);
        if (!parsed)
            return fail("unknown shift: " + *text);
        shift = *parsed;
    }
    WeekMask weeks = kEveryWeek;
    if (const std::string* text = value("weeks")) {
        const auto parsed = parseWeeks(*text);
        if (!parsed)
            return fail("not a choice of weeks: " + *text);
        weeks = *parsed;
    } else if (const std::string* text = value("mask")) {
        const auto parsed = number(*text);
        if (!parsed || !isValidWeekMask(*parsed))
            return fail("not a week mask: " + *text);
        weeks = *parsed;
    }

    if (popup) {
        const auto time = parseTime(*value("time"));
        if (!time)
            return fail("not a time: " + *value("time"));
        const PopupKind popupKind = kind == "daily"     ? PopupKind::Daily
                                    : kind == "dated"   ? PopupKind::Dated
                                    : kind == "yearly"  ? PopupKind::Yearly
                                    : kind == "monthly" ? PopupKind::Monthly
                                                        : PopupKind::Weekday;
        context.out << PopupEntryName(*time, popupKind, *date, shift, weeks) << '\n';
    } else {
        const ToDoKind toDoKind = kind == "dated"     ? ToDoKind::Dated
                                  : kind == "yearly"  ? ToDoKind::Yearly
                                  : kind == "monthly" ? ToDoKind::Monthly
                                                      : ToDoKind::Weekday;
        context.out << ToDoEntryName(toDoKind, *date, shift, weeks) << '\n';
    }
    return kExitOk;
}

const CommandRegistration kDay{"day", kDayUsage, &dayCommand};
const CommandRegistration kDue{"due", kDueUsage, &dueCommand};
const CommandRegistration kMarks{"marks", kMarksUsage, &marksCommand};
const CommandRegistration kDescribe{"describe", kDescribeUsage, &describeCommand};
const CommandRegistration kName{"name", kNameUsage, &nameCommand};

}  // namespace
}  // namespace hinagiku::ctl
