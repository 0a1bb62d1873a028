// diary read|write|export|convert|list|search: the diary pages of the
// private folder's Diary subfolder, as the diary windows read and write them.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "calendar/date_time.h"
#include "command_registry.h"
#include "core/home_folder.h"
#include "diary/diary_list.h"
#include "diary/diary_store.h"
#include "diary/page_session.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/profile_file.h"
#include "richtext/entry_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

namespace hinagiku::ctl {
namespace {

constexpr std::string_view kUsage =
    "diary read DATE | diary write DATE [--title T] [--weather W] [--picture P] "
    "[--font-color N] [--back-color N] [--readonly on|off] [--body FILE] | "
    "diary export DATE OUT | diary convert DATE | diary list YEAR MONTH | "
    "diary search FROM TO TEXT   (DATE YYYY-MM-DD, FROM/TO YYYY-MM)";

std::optional<int> parseNumber(std::string_view text, int low, int high) {
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<int> parseDay(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto y = parseNumber(text.substr(0, 4), 1, 9999);
    const auto m = parseNumber(text.substr(5, 2), 1, 12);
    const auto d = parseNumber(text.substr(8, 2), 1, 31);
    if (!y || !m || !d)
        return std::nullopt;
    return encodeDate(*y, *m, *d);
}

std::optional<std::pair<int, int>> parseMonth(std::string_view text) {
    if (text.size() != 7 || text[4] != '-')
        return std::nullopt;
    const auto y = parseNumber(text.substr(0, 4), 1, 9999);
    const auto m = parseNumber(text.substr(5, 2), 1, 12);
    if (!y || !m)
        return std::nullopt;
    return std::pair{*y, *m};
}

std::string isoDate(int day) {
    const CivilDate date = decodeDate(day);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

int refused(CommandContext& context, const diary::OpenOutcome& outcome) {
    switch (outcome.failure) {
        case diary::OpenFailure::Cipher:
            context.out << "refused\tcipher\t" << outcome.cipherName << '\n';
            return kExitRefused;
        case diary::OpenFailure::Html:
            context.out << "refused\thtml\n";
            return kExitRefused;
        case diary::OpenFailure::Damaged:
        case diary::OpenFailure::TooLarge:
            context.out << "refused\tdamaged\n";
            return kExitRefused;
        case diary::OpenFailure::Unreadable:
            context.err << "hinagikuctl: cannot read " << outcome.page.path.string() << '\n';
            return kExitIoError;
        case diary::OpenFailure::None:
            break;
    }
    return kExitOk;
}

std::string bodyText(const std::string& body) {
    return richtext::entryPlainText(body);
}

int readCommand(CommandContext& context, const platform::Settings& settings, int day) {
    const diary::PageDefaults defaults = diary::readPageDefaults(settings);
    const diary::OpenOutcome outcome =
        diary::openPage(diary::diaryFolder(settings), day, defaults, false);
    if (outcome.failure != diary::OpenFailure::None)
        return refused(context, outcome);
    const diary::OpenedPage& page = outcome.page;
    const diary::PageHeader& h = page.header;
    const char* source = page.source == diary::PageSource::Jnl      ? "jnl"
                         : page.source == diary::PageSource::Legacy ? "legacy"
                                                                    : "new";
    auto& out = context.out;
    out << "source\t" << source << "\nfile\t" << page.path.string() << "\ntitle\t" << h.title
        << "\nweather\t" << h.weather << "\npicture\t" << h.picture << "\nfontcolor\t"
        << *h.fontColor << "\nbackcolor\t" << *h.backColor << "\ntop\t" << *h.top << "\nleft\t"
        << *h.left << "\nheight\t" << *h.height << "\nwidth\t" << *h.width << "\nreadonly\t"
        << (h.readOnly ? 1 : 0) << '\n';
    for (const std::string& kept : h.kept)
        out << "keep\t" << platform::fromCp932(kept) << '\n';
    out << "body\t" << (richtext::isRtf(page.body) ? "rtf" : "plain") << "\ntext\n"
        << bodyText(page.body) << '\n';
    return kExitOk;
}

std::optional<std::string> readFile(CommandContext& context, const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        context.err << "hinagikuctl: " << path << " is a folder, not a file\n";
        return std::nullopt;
    }
    std::string bytes;
    if (!platform::readWholeFile(path, bytes)) {
        context.err << "hinagikuctl: cannot read " << path << '\n';
        return std::nullopt;
    }
    return bytes;
}

richtext::DefaultFont defaultFont(const diary::PageDefaults& defaults) {
    return {defaults.fontName, defaults.fontSize * 2};
}

int writeCommand(CommandContext& context, platform::Settings& settings, int day) {
    std::optional<std::string> title, weather, picture, bodyFile;
    std::optional<std::int32_t> fontColor, backColor;
    std::optional<bool> readOnly;
    const auto& args = context.args;
    for (std::size_t i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return usageError(context, kUsage, "option " + args[i] + " needs a value");
        const std::string& option = args[i];
        const std::string& value = args[i + 1];
        if (option == "--title") {
            title = value;
        } else if (option == "--weather") {
            weather = value;
        } else if (option == "--picture") {
            picture = value;
        } else if (option == "--font-color" || option == "--back-color") {
            const auto number = diary::parseHeaderNumber(value);
            if (!number)
                return usageError(context, kUsage, "not a colour number: " + value);
            (option == "--font-color" ? fontColor : backColor) = number;
        } else if (option == "--readonly") {
            if (value != "on" && value != "off")
                return usageError(context, kUsage, "--readonly takes on or off");
            readOnly = value == "on";
        } else if (option == "--body") {
            bodyFile = value;
        } else {
            return usageError(context, kUsage, "unknown option " + option);
        }
    }
    for (const auto& [field, text] : {std::pair{"タイトル", &title}, std::pair{"天気", &weather}}) {
        if (*text) {
            if (const auto note = diary::cp932Note(field, **text)) {
                std::string message = *note;
                std::replace(message.begin(), message.end(), '\r', ' ');
                context.err << "hinagikuctl: " << message << '\n';
                return kExitUsage;
            }
        }
    }
    if (title && title->size() > 0)
        *title = diary::cutCharacters(*title, diary::kValueLimit);
    std::optional<std::string> newBody;
    const diary::PageDefaults defaults = diary::readPageDefaults(settings);
    if (bodyFile) {
        const auto bytes = readFile(context, *bodyFile);
        if (!bytes)
            return kExitIoError;
        newBody = richtext::isRtf(*bytes)
                      ? richtext::writeRtf(richtext::readRtf(*bytes), defaultFont(defaults))
                      : richtext::plainTextToRtf(*bytes, defaultFont(defaults));
    }
    const std::filesystem::path folder = diary::diaryFolder(settings);
    try {
        diary::OpenOutcome outcome = diary::openPage(folder, day, defaults, true);
        if (outcome.failure != diary::OpenFailure::None)
            return refused(context, outcome);
        diary::OpenedPage& page = outcome.page;
        diary::PageHeader& h = page.header;
        if (title)
            h.title = *title;
        if (weather)
            h.weather = *weather;
        if (picture)
            h.picture = *picture;
        if (fontColor)
            h.fontColor = fontColor;
        if (backColor)
            h.backColor = backColor;
        if (readOnly)
            h.readOnly = *readOnly;
        const std::string body =
            newBody ? *newBody
                    : richtext::writeRtf(richtext::readRichText(page.body), defaultFont(defaults));
        const std::filesystem::path written =
            diary::writePage(folder, day, page.loaded ? page.path : std::filesystem::path{},
                             diary::composePage(h, body, diary::SaveStyle::Ordinary));
        context.out << "saved\t" << written.string() << '\n';
    } catch (const platform::IoError& error) {
        context.err << "hinagikuctl: " << error.what() << '\n';
        return kExitIoError;
    }
    return kExitOk;
}

int exportCommand(CommandContext& context, platform::Settings& settings, int day,
                  const std::string& out) {
    const diary::PageDefaults defaults = diary::readPageDefaults(settings);
    try {
        const diary::OpenOutcome outcome =
            diary::openPage(diary::diaryFolder(settings), day, defaults, true);
        if (outcome.failure != diary::OpenFailure::None)
            return refused(context, outcome);
        const diary::OpenedPage& page = outcome.page;
        platform::writeFileAtomically(
            out, diary::composePage(page.header, diary::plainBody(bodyText(page.body)),
                                    diary::SaveStyle::PlainExport));
    } catch (const platform::IoError& error) {
        context.err << "hinagikuctl: " << error.what() << '\n';
        return kExitIoError;
    }
    context.out << "saved\t" << out << '\n';
    return kExitOk;
}

int convertCommand(CommandContext& context, platform::Settings& settings, int day) {
    const std::filesystem::path folder = diary::diaryFolder(settings);
    const diary::StoredPage stored = diary::readStoredPage(folder, day);
    if (stored.source != diary::PageSource::Legacy)
        return kExitOk;
    try {
        const diary::OpenOutcome outcome =
            diary::openPage(folder, day, diary::readPageDefaults(settings), true);
        if (outcome.failure != diary::OpenFailure::None)
            return refused(context, outcome);
        context.out << "converted\t" << outcome.page.path.string() << '\t' << outcome.page.status
                    << '\n';
    } catch (const platform::IoError& error) {
        context.err << "hinagikuctl: " << error.what() << '\n';
        return kExitIoError;
    }
    return kExitOk;
}

int listCommand(CommandContext& context, platform::Settings& settings, int year, int month) {
    const diary::MonthList list = diary::buildMonthList(diary::diaryFolder(settings), year, month);
    static constexpr const char* kKinds[] = {"none", "titled", "untitled", "damaged", "legacy"};
    for (const diary::ListLine& line : list.lines) {
        context.out << isoDate(line.day) << '\t' << kKinds[static_cast<int>(line.kind)] << '\t'
                    << line.text << '\n';
    }
    context.out << "written\t" << list.written << '\t' << list.percent << '\n';
    return kExitOk;
}

int searchCommand(CommandContext& context, platform::Settings& settings, std::pair<int, int> from,
                  std::pair<int, int> to, const std::string& text) {
    static constexpr const char* kKinds[] = {"title", "weather", "body"};
    for (const diary::SearchHit& hit : diary::searchDiary(diary::diaryFolder(settings), from.first,
                                                          from.second, to.first, to.second, text)) {
        context.out << isoDate(hit.day) << '\t' << kKinds[static_cast<int>(hit.kind)] << '\t'
                    << hit.line << '\n';
    }
    return kExitOk;
}

int diaryCommand(CommandContext& context) {
    const auto& args = context.args;
    if (args.empty())
        return usageError(context, kUsage);
    const std::string& sub = args[0];
    platform::ProfileFile settings(core::settingsFilePath());
    if (sub == "list") {
        if (args.size() != 3)
            return usageError(context, kUsage);
        const auto year = parseNumber(args[1], 1, 9999);
        const auto month = parseNumber(args[2], 1, 12);
        if (!year || !month)
            return usageError(context, kUsage, "YEAR 1-9999 and MONTH 1-12");
        return listCommand(context, settings, *year, *month);
    }
    if (sub == "search") {
        if (args.size() != 4)
            return usageError(context, kUsage);
        const auto from = parseMonth(args[1]);
        const auto to = parseMonth(args[2]);
        if (!from || !to)
            return usageError(context, kUsage, "FROM and TO are YYYY-MM");
        return searchCommand(context, settings, *from, *to, args[3]);
    }
    if (args.size() < 2)
        return usageError(context, kUsage);
    const auto day = parseDay(args[1]);
    if (!day)
        return usageError(context, kUsage, "not a date: " + args[1]);
    if (sub == "read" && args.size() == 2)
        return readCommand(context, settings, *day);
    if (sub == "write")
        return writeCommand(context, settings, *day);
    if (sub == "export" && args.size() == 3)
        return exportCommand(context, settings, *day, args[2]);
    if (sub == "convert" && args.size() == 2)
        return convertCommand(context, settings, *day);
    return usageError(context, kUsage);
}

const CommandRegistration registration{"diary", kUsage, &diaryCommand};

}  // namespace
}  // namespace hinagiku::ctl
