// hinagikuctl todo-choice|entries|agenda|todolist: the schedule editor's
// names, the management listing and the schedule list for scripts. UTF-8
// out, TAB between fields; no settings are written.
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command_registry.h"
#include "core/home_folder.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "platform/file_search.h"
#include "platform/profile_file.h"
#include "schedule/agenda/entry_listing.h"
#include "schedule/agenda/schedule_list_text.h"
#include "schedule/agenda/todo_choice.h"
#include "schedule/entry_files.h"
#include "schedule/snapshot_store.h"

namespace hinagiku::ctl {
namespace {

using namespace hinagiku::schedule;

constexpr std::string_view kChoiceUsage =
    "todo-choice --tab dated|yearly|monthly|weekday --date Y-M-D\n"
    "      [--holiday keep|prev|next] [--saturday workday|dayoff] [--boxes B]\n"
    "      Y-M-D as typed (up to five digits each; corrected as the editor does);\n"
    "      B: six 0/1 for weeks 1-5 and the last week (default 111110).\n"
    "      Prints: date, boxes, entry name, copy string, hint (TAB-separated)";
constexpr std::string_view kEntriesUsage =
    "entries all|past|day [--now YYYY-MM-DDTHH:MM[:SS]] [--date YYYY-MM-DD]";
constexpr std::string_view kAgendaUsage =
    "agenda [--now YYYY-MM-DDTHH:MM[:SS]] [--base YYYY-MM-DD] [--before N] [--after N]\n"
    "      N: 0-99 (default [Sch_List] mae and ato)";
constexpr std::string_view kTodoListUsage =
    "todolist [--now WHEN] [--base DATE] [--before N] [--after N] FILE";

using Options = std::map<std::string, std::string>;

// "--name value" pairs; the words that are no option in `rest`. Nothing
// when an option lacks its value or is not one of `known`.
std::optional<Options> parseOptions(const std::vector<std::string>& args,
                                    const std::vector<std::string_view>& known,
                                    std::vector<std::string>& rest, std::string& problem) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.rfind("--", 0) != 0) {
            rest.push_back(word);
            continue;
        }
        bool ok = false;
        for (std::string_view k : known)
            ok = ok || word == k;
        if (!ok) {
            problem = "unknown option " + word;
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            problem = word + " needs a value";
            return std::nullopt;
        }
        options[word] = args[++i];
    }
    return options;
}

std::optional<long long> digits(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// YYYY-MM-DD of a real date.
std::optional<int> parseDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto y = digits(text.substr(0, 4), 4), m = digits(text.substr(5, 2), 2),
               d = digits(text.substr(8, 2), 2);
    if (!y || !m || !d)
        return std::nullopt;
    return encodeDate(static_cast<int>(*y), static_cast<int>(*m), static_cast<int>(*d));
}

// YYYY-MM-DDTHH:MM[:SS].
std::optional<DateTime> parseWhen(std::string_view text) {
    if ((text.size() != 16 && text.size() != 19) || text[10] != 'T' || text[13] != ':')
        return std::nullopt;
    const auto date = parseDate(text.substr(0, 10));
    const auto h = digits(text.substr(11, 2), 2), n = digits(text.substr(14, 2), 2);
    std::optional<long long> s = 0;
    if (text.size() == 19)
        s = text[16] == ':' ? digits(text.substr(17, 2), 2) : std::nullopt;
    if (!date || !h || !n || !s)
        return std::nullopt;
    const auto time = encodeTime(static_cast<int>(*h), static_cast<int>(*n), static_cast<int>(*s));
    if (!time)
        return std::nullopt;
    return makeDateTime(*date, *time);
}

std::string isoDate(const CivilDate& d) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

// The data folder of the home folder's settings, or a message.
std::optional<std::string> dataFolder(CommandContext& context, const platform::Settings& settings) {
    const std::string folder = scheduleFolder(settings);
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

int choiceCommand(CommandContext& context) {
    std::vector<std::string> rest;
    std::string problem;
    const auto options = parseOptions(
        context.args, {"--tab", "--date", "--holiday", "--saturday", "--boxes"}, rest, problem);
    if (!options)
        return usageError(context, kChoiceUsage, problem);
    if (!rest.empty())
        return usageError(context, kChoiceUsage, "unexpected " + rest.front());
    auto get = [&](const char* key, const char* fallback) {
        const auto it = options->find(key);
        return it == options->end() ? std::string(fallback) : it->second;
    };
    ToDoChoice choice;
    const std::string tab = get("--tab", "");
    const std::map<std::string, ToDoKind> tabs{{"dated", ToDoKind::Dated},
                                               {"yearly", ToDoKind::Yearly},
                                               {"monthly", ToDoKind::Monthly},
                                               {"weekday", ToDoKind::Weekday}};
    if (!tabs.contains(tab))
        return usageError(context, kChoiceUsage, "--tab must be dated, yearly, monthly or weekday");
    choice.kind = tabs.at(tab);

    const std::string date = get("--date", "");
    const std::size_t dash1 = date.find('-');
    const std::size_t dash2 = dash1 == std::string::npos ? dash1 : date.find('-', dash1 + 1);
    const auto y = dash1 == std::string::npos ? std::nullopt : digits(date.substr(0, dash1), 5);
    const auto m = dash2 == std::string::npos
                       ? std::nullopt
                       : digits(date.substr(dash1 + 1, dash2 - dash1 - 1), 5);
    const auto d = dash2 == std::string::npos ? std::nullopt : digits(date.substr(dash2 + 1), 5);
    if (!y || !m || !d)
        return usageError(context, kChoiceUsage, "--date must be Y-M-D (up to five digits each)");
    choice.date = correctedDate(*y, *m, *d);

    const std::string holiday = get("--holiday", "keep");
    if (holiday == "keep")
        choice.holiday = ToDoHoliday::Keep;
    else if (holiday == "prev")
        choice.holiday = ToDoHoliday::PreviousDay;
    else if (holiday == "next")
        choice.holiday = ToDoHoliday::NextDay;
    else
        return usageError(context, kChoiceUsage, "--holiday must be keep, prev or next");
    const std::string saturday = get("--saturday", "workday");
    if (saturday != "workday" && saturday != "dayoff")
        return usageError(context, kChoiceUsage, "--saturday must be workday or dayoff");
    choice.saturdayOff = saturday == "dayoff";

    const std::string boxes = get("--boxes", "111110");
    if (boxes.size() != 6 || boxes.find_first_not_of("01") != std::string::npos)
        return usageError(context, kChoiceUsage, "--boxes must be six 0 or 1");
    for (std::size_t k = 0; k < 5; ++k)
        choice.weeks[k] = boxes[k] == '1';
    choice.lastWeek = boxes[5] == '1';
    applyToDoRules(choice);

    std::string after;
    for (bool week : choice.weeks)
        after += week ? '1' : '0';
    after += choice.lastWeek ? '1' : '0';
    context.out << isoDate(choice.date) << '\t' << after << '\t' << toDoEditorEntryName(choice)
                << '\t' << toDoCopyString(choice) << '\t' << toDoEditorHint(choice) << '\n';
    return kExitOk;
}

std::optional<DateTime> nowOption(const Options& options, std::string& problem) {
    const auto it = options.find("--now");
    if (it == options.end())
        return platform::SystemClock().now();
    const auto when = parseWhen(it->second);
    if (!when)
        problem = "--now must be YYYY-MM-DDTHH:MM[:SS]";
    return when;
}

int entriesCommand(CommandContext& context) {
    std::vector<std::string> rest;
    std::string problem;
    const auto options = parseOptions(context.args, {"--now", "--date"}, rest, problem);
    if (!options)
        return usageError(context, kEntriesUsage, problem);
    if (rest.size() != 1)
        return usageError(context, kEntriesUsage);
    ListingMode mode;
    if (rest[0] == "all")
        mode = ListingMode::All;
    else if (rest[0] == "past")
        mode = ListingMode::Past;
    else if (rest[0] == "day")
        mode = ListingMode::Day;
    else
        return usageError(context, kEntriesUsage, "the mode is all, past or day");
    const auto now = nowOption(*options, problem);
    if (!now)
        return usageError(context, kEntriesUsage, problem);
    DateTime chosen = static_cast<DateTime>(dayNumber(*now));
    if (const auto it = options->find("--date"); it != options->end()) {
        const auto date = parseDate(it->second);
        if (!date)
            return usageError(context, kEntriesUsage, "not a date: " + it->second);
        chosen = *date;
    }
    const platform::ProfileFile settings(core::settingsFilePath());
    const auto folder = dataFolder(context, settings);
    if (!folder)
        return kExitIoError;
    for (const ListedEntry& entry : listEntries(*folder, mode, *now, chosen))
        context.out << cleanDisplayText(entry.name) << '\t' << entry.description << '\n';
    return kExitOk;
}

// The options agenda and todolist share; the agenda built from them.
struct AgendaRequest {
    Agenda agenda;
    DateTime now = 0;
};

std::optional<AgendaRequest> buildRequest(CommandContext& context, const Options& options,
                                          std::string_view usage, int& status) {
    std::string problem;
    const auto now = nowOption(options, problem);
    if (!now) {
        status = usageError(context, usage, problem);
        return std::nullopt;
    }
    const DateTime today = static_cast<DateTime>(dayNumber(*now));
    DateTime base = today;
    if (const auto it = options.find("--base"); it != options.end()) {
        const auto date = parseDate(it->second);
        if (!date) {
            status = usageError(context, usage, "not a date: " + it->second);
            return std::nullopt;
        }
        base = *date;
    }
    const platform::ProfileFile settings(core::settingsFilePath());
    ListSpan span = readListSpan(settings);
    for (const auto& [key, target] :
         {std::pair{"--before", &span.before}, {"--after", &span.after}}) {
        if (const auto it = options.find(key); it != options.end()) {
            const auto n = digits(it->second, 2);
            if (!n) {
                status = usageError(context, usage, std::string(key) + " must be 0 to 99");
                return std::nullopt;
            }
            *target = static_cast<int>(*n);
        }
    }
    const auto folder = dataFolder(context, settings);
    if (!folder) {
        status = kExitIoError;
        return std::nullopt;
    }
    AgendaRequest request;
    request.now = *now;
    const SnapshotStore store(*folder);
    request.agenda = buildAgenda(base, span, today, store, settings);
    for (const std::string& error : request.agenda.errors)
        context.err << "hinagikuctl: " << error << '\n';
    return request;
}

int agendaCommand(CommandContext& context) {
    std::vector<std::string> rest;
    std::string problem;
    const auto options =
        parseOptions(context.args, {"--now", "--base", "--before", "--after"}, rest, problem);
    if (!options)
        return usageError(context, kAgendaUsage, problem);
    if (!rest.empty())
        return usageError(context, kAgendaUsage, "unexpected " + rest.front());
    int status = kExitOk;
    const auto request = buildRequest(context, *options, kAgendaUsage, status);
    if (!request)
        return status;
    const Agenda& agenda = request->agenda;
    context.out << "caption\t" << agenda.caption << '\n';
    const std::pair<const char*, const std::vector<std::string>*> boxes[] = {
        {"past", &agenda.past}, {"today", &agenda.today}, {"future", &agenda.future}};
    for (const auto& [word, lines] : boxes) {
        for (const std::string& line : *lines)
            context.out << word << '\t' << line << '\n';
    }
    return kExitOk;
}

int todoListCommand(CommandContext& context) {
    std::vector<std::string> rest;
    std::string problem;
    const auto options =
        parseOptions(context.args, {"--now", "--base", "--before", "--after"}, rest, problem);
    if (!options)
        return usageError(context, kTodoListUsage, problem);
    if (rest.size() != 1)
        return usageError(context, kTodoListUsage);
    int status = kExitOk;
    const auto request = buildRequest(context, *options, kTodoListUsage, status);
    if (!request)
        return status;
    try {
        if (!writeTodoList(rest[0], agendaText(request->agenda, request->now))) {
            context.err << "hinagikuctl: characters that Shift-JIS cannot hold were written as "
                           "\"?\"\n";
        }
    } catch (const platform::IoError& e) {
        context.err << "hinagikuctl: " << e.what() << '\n';
        return kExitIoError;
    }
    return kExitOk;
}

const CommandRegistration kChoice{"todo-choice", kChoiceUsage, &choiceCommand};
const CommandRegistration kEntries{"entries", kEntriesUsage, &entriesCommand};
const CommandRegistration kAgenda{"agenda", kAgendaUsage, &agendaCommand};
const CommandRegistration kTodoList{"todolist", kTodoListUsage, &todoListCommand};

}  // namespace
}  // namespace hinagiku::ctl
