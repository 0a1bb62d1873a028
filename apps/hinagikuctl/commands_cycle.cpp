// hinagikuctl cycle plan|show|add|delete|memo: the cycle tracker for
// scripts. plan works on the dates given and touches no file; the others
// read and write the cycle file as the tracker window does (no password is
// asked and no access is recorded).
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command_registry.h"
#include "core/data_folders.h"
#include "core/home_folder.h"
#include "cycle/cycle_data.h"
#include "cycle/cycle_file.h"
#include "cycle/cycle_math.h"
#include "cycle/cycle_tracker.h"
#include "platform/profile_file.h"

namespace hinagiku::ctl {
namespace {

using namespace hinagiku::cycle;

constexpr std::string_view kUsage =
    "cycle plan|show|add|delete|memo ...\n"
    "      plan [--days P] [--common T] [--r T] [--l T] [--pick N] [--pick-alternating N]\n"
    "           [--select DATE] DATE...   (no file: the dates recorded, the list update, the\n"
    "           field texts typed, the forecast entries chosen (1-100), the date selected)\n"
    "      show                     (opens the cycle file as the window does and prints it)\n"
    "      add Y-M-D                (the date boxes' rules; prints added|present)\n"
    "      delete DATE              (status 3 when the date is not recorded)\n"
    "      memo DATE TEXT           (status 3 when the memo field would refuse TEXT)\n"
    "      DATE: YYYY-MM-DD, or an entry exactly as listed";

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

// YYYY-MM-DD as a list entry "yyyy/mm/dd"; another text is taken as it is.
std::string entryArgument(const std::string& text) {
    if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        std::string entry = text;
        entry[4] = '/';
        entry[7] = '/';
        if (entryDay(entry))
            return entry;
    }
    return text;
}

std::optional<CivilDate> strictDate(const std::string& text) {
    const std::string entry = entryArgument(text);
    const auto day = entryDay(entry);
    if (!day || entry == text)
        return std::nullopt;
    return decodeDate(*day);
}

// Y-M-D in decimal with the date boxes' rules.
std::optional<CivilDate> dateBoxArgument(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const auto dash = text.find('-', start == 0 && !text.empty() && text[0] == '-' ? 1 : start);
        parts.push_back(text.substr(start, dash - start));
        if (dash == std::string_view::npos)
            break;
        start = dash + 1;
    }
    if (parts.size() != 3)
        return std::nullopt;
    const auto y = decimal(parts[0]), m = decimal(parts[1]), d = decimal(parts[2]);
    if (!y || !m || !d)
        return std::nullopt;
    return dateBoxes(*y, *m, *d);
}

void printList(CommandContext& context, const CycleTracker& t, Forecast which, const char* name) {
    context.out << "caption\t" << name << '\t' << t.detailCaption(which) << '\n';
    for (const auto& line : t.details(which))
        context.out << "detail\t" << name << '\t' << line << '\n';
}

int plan(CommandContext& context, const std::vector<std::string>& args) {
    std::optional<int> days, pick, pickAlternating;
    std::optional<std::string> common, r, l, select;
    std::vector<CivilDate> dates;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue = a == "--days" || a == "--common" || a == "--r" || a == "--l" ||
                                a == "--pick" || a == "--pick-alternating" || a == "--select";
        if (takesValue) {
            if (i + 1 >= args.size())
                return usageError(context, kUsage, a + " needs a value");
            const std::string& value = args[++i];
            if (a == "--common")
                common = value;
            else if (a == "--r")
                r = value;
            else if (a == "--l")
                l = value;
            else if (a == "--select")
                select = entryArgument(value);
            else {
                const auto number = decimal(value);
                const bool isDays = a == "--days";
                if (!number || (isDays && (*number < kMinPeriodDays || *number > kMaxPeriodDays)) ||
                    (!isDays && (*number < 1 || *number > kForecastCount))) {
                    return usageError(context, kUsage, "out of range: " + a + " " + value);
                }
                (isDays ? days : (a == "--pick" ? pick : pickAlternating)) = int(*number);
            }
            continue;
        }
        const auto date = strictDate(a);
        if (!date)
            return usageError(context, kUsage, "not a date: " + a);
        dates.push_back(*date);
    }
    NoCycleData data;
    CycleTracker t(data);
    t.open();
    if (days)
        t.setPeriodDays(*days);
    for (const auto& date : dates)
        t.add(date);
    if (common)
        t.setField(Field::Common, *common);
    if (r)
        t.setField(Field::R, *r);
    if (l)
        t.setField(Field::L, *l);
    if (pick)
        t.chooseForecast(Forecast::Common, *pick - 1);
    if (pickAlternating)
        t.chooseForecast(Forecast::Alternating, *pickAlternating - 1);
    if (select) {
        int index = -1;
        for (std::size_t i = 0; i < t.entries().size(); ++i) {
            if (t.entries()[i] == *select)
                index = static_cast<int>(i);
        }
        if (index < 0)
            return usageError(context, kUsage, "--select names no recorded date: " + *select);
        t.select(index);
    }
    context.out << "fields\t" << t.field(Field::Common) << '\t' << t.field(Field::R) << '\t'
                << t.field(Field::L) << '\n';
    context.out << "status\t" << t.status() << '\n';
    if (t.entries().empty())
        return kExitOk;
    for (std::size_t i = 0; i < t.forecasts(Forecast::Common).size(); ++i)
        context.out << "common\t" << i + 1 << '\t' << t.forecasts(Forecast::Common)[i] << '\n';
    for (std::size_t i = 0; i < t.forecasts(Forecast::Alternating).size(); ++i) {
        context.out << "alternating\t" << i + 1 << '\t' << t.forecasts(Forecast::Alternating)[i]
                    << '\n';
    }
    printList(context, t, Forecast::Common, "common");
    printList(context, t, Forecast::Alternating, "alternating");
    return kExitOk;
}

// What opening the tracker does before the window: the data folder, the
// Period folder (made owner-only), the file; then the tracker reads it.
struct Opened {
    std::unique_ptr<platform::ProfileFile> settings;
    std::unique_ptr<CycleFile> file;
    std::unique_ptr<CycleTracker> tracker;
    int status = kExitOk;
};

Opened openTracker(CommandContext& context) {
    Opened o;
    o.settings = std::make_unique<platform::ProfileFile>(core::settingsFilePath());
    if (core::DataFolder(*o.settings) == ".") {
        context.err << "hinagikuctl: no data folder is set ([Calendar] Directory in "
                    << core::settingsFilePath().string() << ")\n";
        o.status = kExitIoError;
        return o;
    }
    const std::string privateFolder = core::PrivateFolder(*o.settings);
    const auto folder = preparePeriodFolder(privateFolder);
    if (!folder) {
        context.err << "hinagikuctl: the Period folder in " << privateFolder
                    << " cannot be had (is the medium there?)\n";
        o.status = kExitIoError;
        return o;
    }
    o.file = std::make_unique<CycleFile>(*o.settings, *folder);
    o.tracker = std::make_unique<CycleTracker>(*o.file);
    o.tracker->open();
    return o;
}

int writeErrors(CommandContext& context, CycleTracker& t) {
    int status = kExitOk;
    for (const auto& error : t.takeWriteErrors()) {
        context.err << "hinagikuctl: " << error << '\n';
        status = kExitIoError;
    }
    return status;
}

int show(CommandContext& context, const std::vector<std::string>& args) {
    if (!args.empty())
        return usageError(context, kUsage, "show takes no arguments");
    Opened o = openTracker(context);
    if (o.status != kExitOk)
        return o.status;
    CycleTracker& t = *o.tracker;
    context.out << "file\t" << o.file->path().string() << '\n';
    context.out << "days\t" << t.periodDays() << '\n';
    for (const auto& entry : t.entries())
        context.out << "date\t" << entry << '\t' << o.file->readMemo(entry) << '\n';
    return writeErrors(context, t);
}

int add(CommandContext& context, const std::vector<std::string>& args) {
    if (args.size() != 1)
        return usageError(context, kUsage, "add takes one Y-M-D");
    const auto date = dateBoxArgument(args[0]);
    if (!date)
        return usageError(context, kUsage, "not a date: " + args[0]);
    Opened o = openTracker(context);
    if (o.status != kExitOk)
        return o.status;
    const bool added = o.tracker->add(*date);
    const int status = writeErrors(context, *o.tracker);
    if (status != kExitOk)
        return status;
    context.out << (added ? "added\t" : "present\t") << entryText(dayNumberOf(*date)) << '\n';
    return kExitOk;
}

int find(const CycleTracker& t, const std::string& entry) {
    for (std::size_t i = 0; i < t.entries().size(); ++i) {
        if (t.entries()[i] == entry)
            return static_cast<int>(i);
    }
    return -1;
}

int remove(CommandContext& context, const std::vector<std::string>& args) {
    if (args.size() != 1)
        return usageError(context, kUsage, "delete takes one DATE");
    Opened o = openTracker(context);
    if (o.status != kExitOk)
        return o.status;
    const int index = find(*o.tracker, entryArgument(args[0]));
    if (index < 0) {
        context.err << "hinagikuctl: not recorded: " << args[0] << '\n';
        return std::max(writeErrors(context, *o.tracker), kExitRefused);
    }
    o.tracker->select(index);
    o.tracker->removeSelected();
    return writeErrors(context, *o.tracker);
}

int memo(CommandContext& context, const std::vector<std::string>& args) {
    if (args.size() != 2)
        return usageError(context, kUsage, "memo takes DATE and TEXT");
    Opened o = openTracker(context);
    if (o.status != kExitOk)
        return o.status;
    const int index = find(*o.tracker, entryArgument(args[0]));
    if (index < 0) {
        context.err << "hinagikuctl: not recorded: " << args[0] << '\n';
        return kExitRefused;
    }
    o.tracker->select(index);
    switch (o.tracker->setMemo(args[1])) {
        case MemoResult::Written:
            return writeErrors(context, *o.tracker);
        case MemoResult::Refused:
            context.err << "hinagikuctl: the memo holds characters CP932 lacks or is longer than "
                        << kMaxMemoBytes << " bytes\n";
            return kExitRefused;
        default:
            return std::max(writeErrors(context, *o.tracker), kExitIoError);
    }
}

int run(CommandContext& context) {
    if (context.args.empty())
        return usageError(context, kUsage);
    const std::string sub = context.args[0];
    const std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
    if (sub == "plan")
        return plan(context, rest);
    if (sub == "show")
        return show(context, rest);
    if (sub == "add")
        return add(context, rest);
    if (sub == "delete")
        return remove(context, rest);
    if (sub == "memo")
        return memo(context, rest);
    return usageError(context, kUsage, "unknown cycle command: " + sub);
}

const CommandRegistration cycleRegistration{"cycle", kUsage, &run};

}  // namespace
}  // namespace hinagiku::ctl
