// hinagikuctl launcher|launch|drop|websearch|daycalc: the tools for scripts,
// UTF-8, one record a line, fields separated by TABs.
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command_registry.h"
#include "core/home_folder.h"
#include "platform/profile_file.h"
#include "platform/program_launcher.h"
#include "tools/day_calculation.h"
#include "tools/file_associations.h"
#include "tools/launch_request.h"
#include "tools/launcher_menu.h"
#include "tools/shortcut_folder.h"
#include "tools/web_search.h"

namespace hinagiku::ctl {
namespace {

constexpr std::string_view kLauncherUsage = "launcher menu";
constexpr std::string_view kLaunchUsage = "launch [--dry-run] TEXT";
constexpr std::string_view kDropUsage = "drop [--dry-run] FILE...";
constexpr std::string_view kWebSearchUsage = "websearch [--open N] TEXT";
constexpr std::string_view kDayCalcUsage =
    "daycalc period FROM TO | daycalc count FROM after|before DAYS HOURS MINUTES SECONDS"
    " (FROM, TO: YYYY-MM-DDTHH:MM:SS)";

const char* kindName(tools::LauncherItem::Kind kind) {
    switch (kind) {
        case tools::LauncherItem::Kind::Submenu:
            return "submenu";
        case tools::LauncherItem::Kind::Separator:
            return "separator";
        case tools::LauncherItem::Kind::Item:
            break;
    }
    return "item";
}

void printItems(std::ostream& out, const std::vector<tools::LauncherItem>& items) {
    for (const tools::LauncherItem& item : items) {
        out << tools::escapeField(item.level) << '\t' << kindName(item.kind) << '\t'
            << tools::escapeField(item.title) << '\t' << tools::escapeField(item.command) << '\n';
        printItems(out, item.children);
    }
}

int runLauncher(CommandContext& context) {
    if (context.args.size() != 1 || context.args[0] != "menu")
        return usageError(context, kLauncherUsage);
    const platform::ProfileFile settings(core::settingsFilePath());
    printItems(context.out, tools::readLauncherMenu(settings).items);
    return kExitOk;
}

// Prints the plan of a request and, unless dry, starts it; false when it
// cannot start (the message went to the error stream).
bool launchOne(CommandContext& context, const tools::LaunchRequest& request, bool dryRun) {
    const platform::LaunchPlan plan = tools::planRequest(request);
    if (plan.kind == platform::LaunchPlan::Kind::Missing) {
        context.err << "hinagikuctl: " << plan.message << '\n';
        return false;
    }
    if (!dryRun) {
        const platform::LaunchResult result = tools::startRequest(request);
        if (!result.started) {
            context.err << "hinagikuctl: " << result.message << '\n';
            return false;
        }
    }
    context.out << tools::planLine(plan) << '\n';
    return true;
}

int runLaunch(CommandContext& context) {
    std::vector<std::string> args = context.args;
    const bool dryRun = !args.empty() && args[0] == "--dry-run";
    if (dryRun)
        args.erase(args.begin());
    if (args.size() != 1 || args[0].empty())
        return usageError(context, kLaunchUsage);
    tools::ShortcutFolder folder(tools::ShortcutFolder::defaultPath());
    std::string problem;
    if (!folder.refresh(&problem))
        context.err << "hinagikuctl: " << problem << '\n';
    return launchOne(context, tools::commandBoxRequest(folder, args[0]), dryRun) ? kExitOk
                                                                                 : kExitIoError;
}

int runDrop(CommandContext& context) {
    std::vector<std::string> args = context.args;
    const bool dryRun = !args.empty() && args[0] == "--dry-run";
    if (dryRun)
        args.erase(args.begin());
    if (args.empty())
        return usageError(context, kDropUsage);
    const platform::ProfileFile settings(core::settingsFilePath());
    int status = kExitOk;
    for (const std::string& file : args) {
        const std::optional<tools::LaunchRequest> request = tools::dropRequest(settings, file);
        if (!request)
            continue;
        if (!launchOne(context, *request, dryRun))
            status = kExitIoError;
    }
    return status;
}

std::optional<int> parseNumber(std::string_view text, std::int64_t low, std::int64_t high) {
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return static_cast<int>(value);
}

int runWebSearch(CommandContext& context) {
    std::vector<std::string> args = context.args;
    std::optional<int> open;
    if (args.size() == 3 && args[0] == "--open") {
        open = parseNumber(args[1], 1, 8);
        if (!open)
            return usageError(context, kWebSearchUsage, "N must be 1 to 8");
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() != 1)
        return usageError(context, kWebSearchUsage);
    int number = 0;
    for (const tools::WebSearchItem& item : tools::webSearchMenu()) {
        if (item.caption.empty())
            continue;
        ++number;
        const std::string url = tools::webSearchUrl(item, args[0]);
        if (open && *open != number)
            continue;
        if (open) {
            const platform::LaunchResult result = platform::programLauncher().start(url);
            if (!result.started) {
                context.err << "hinagikuctl: " << result.message << '\n';
                return kExitIoError;
            }
        }
        context.out << tools::escapeField(item.caption) << '\t' << tools::escapeField(url) << '\n';
    }
    return kExitOk;
}

// YYYY-MM-DDTHH:MM:SS within the fields' bounds; an impossible day steps
// down as the calculator's fields do.
std::optional<tools::DateTimeFields> parseFields(std::string_view text) {
    if (text.size() < 19 || text[text.size() - 15] != '-' || text[text.size() - 12] != '-' ||
        text[text.size() - 9] != 'T' || text[text.size() - 6] != ':' ||
        text[text.size() - 3] != ':')
        return std::nullopt;
    const std::size_t yearLength = text.size() - 15;
    if (yearLength != 4)
        return std::nullopt;
    auto part = [&](std::size_t at, std::size_t length, int low, int high) {
        const std::string_view digits = text.substr(at, length);
        for (const char c : digits) {
            if (c < '0' || c > '9')
                return std::optional<int>();
        }
        return parseNumber(digits, low, high);
    };
    const auto year = part(0, 4, 1, 9999);
    const auto month = part(5, 2, 1, 12);
    const auto day = part(8, 2, 1, 31);
    const auto hour = part(11, 2, 0, 23);
    const auto minute = part(14, 2, 0, 59);
    const auto second = part(17, 2, 0, 59);
    if (!year || !month || !day || !hour || !minute || !second)
        return std::nullopt;
    return tools::DateTimeFields{*year, *month,  tools::validDay(*year, *month, *day),
                                 *hour, *minute, *second};
}

int printDayCalc(CommandContext& context, const tools::DayCalcResult& result) {
    for (const std::string& line : result.lines)
        context.out << line << '\n';
    if (!result.failed)
        return kExitOk;
    std::string message(tools::kDayCalcFailure);
    for (char& c : message) {
        if (c == '\r')
            c = '\n';
    }
    context.err << message << '\n';
    return kExitRefused;
}

int runDayCalc(CommandContext& context) {
    const std::vector<std::string>& args = context.args;
    if (args.size() == 3 && args[0] == "period") {
        const auto from = parseFields(args[1]);
        const auto to = parseFields(args[2]);
        if (!from || !to)
            return usageError(context, kDayCalcUsage, "malformed or out-of-range date-time");
        return printDayCalc(context, tools::calculatePeriod(*from, *to));
    }
    if (args.size() == 7 && args[0] == "count" && (args[2] == "after" || args[2] == "before")) {
        const auto from = parseFields(args[1]);
        const auto days = parseNumber(args[3], 0, tools::kMaxOffsetDays);
        const auto hours = parseNumber(args[4], 0, tools::kMaxOffsetPart);
        const auto minutes = parseNumber(args[5], 0, tools::kMaxOffsetPart);
        const auto seconds = parseNumber(args[6], 0, tools::kMaxOffsetPart);
        if (!from || !days || !hours || !minutes || !seconds)
            return usageError(context, kDayCalcUsage, "malformed or out-of-range value");
        return printDayCalc(context, tools::calculateCount(*from, args[2] == "after",
                                                           {*days, *hours, *minutes, *seconds}));
    }
    return usageError(context, kDayCalcUsage);
}

const CommandRegistration launcherRegistration{"launcher", kLauncherUsage, &runLauncher};
const CommandRegistration launchRegistration{"launch", kLaunchUsage, &runLaunch};
const CommandRegistration dropRegistration{"drop", kDropUsage, &runDrop};
const CommandRegistration webSearchRegistration{"websearch", kWebSearchUsage, &runWebSearch};
const CommandRegistration dayCalcRegistration{"daycalc", kDayCalcUsage, &runDayCalc};

}  // namespace
}  // namespace hinagiku::ctl
