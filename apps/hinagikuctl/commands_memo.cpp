// hinagikuctl memo: the memo store for scripts (categories, lists, new
// memos, texts, deletion and reordering), through the same store the
// program uses. Refusals print a message, change nothing and exit 1.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command_registry.h"
#include "commands_memo_picture.h"
#include "core/data_folders.h"
#include "core/home_folder.h"
#include "memo/memo_store.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/file_search.h"
#include "platform/profile_file.h"
#include "richtext/entry_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "richtext/utf8.h"

namespace hinagiku::ctl {
namespace {

using memo::MemoEntry;

constexpr std::string_view kMemoUsage =
    "memo categories | memo list [CATEGORY] | memo new CATEGORY [--title TEXT] [--body FILE] |\n"
    "      memo text KEY | memo delete KEY | memo reorder SOURCE TARGET KEY... |\n"
    "      memo picture KEY FILE\n"
    "      (CATEGORY 0 to 9)";

std::optional<int> category(std::string_view text) {
    if (text.size() != 1 || text[0] < '0' || text[0] > '9')
        return std::nullopt;
    return text[0] - '0';
}

// A title on one line of the output.
std::string printable(std::string text) {
    std::replace(text.begin(), text.end(), '\t', ' ');
    return text;
}

bool sameKey(std::string_view a, std::string_view b) {
    return platform::foldAsciiCase(a) == platform::foldAsciiCase(b);
}

bool isOpen(const platform::Settings& settings, std::string_view key) {
    return settings.readInt(key, "Show", 0) != 0;
}

std::optional<std::filesystem::path> memoFolder(CommandContext& context,
                                                const platform::Settings& settings) {
    const std::string data = core::DataFolder(settings);
    if (data == "." || !platform::folderExists(data)) {
        context.err << "hinagikuctl: no data folder ([Calendar] Directory in "
                    << core::settingsFilePath().string() << ")\n";
        return std::nullopt;
    }
    return std::filesystem::path(data) / "Memo";
}

int refuse(CommandContext& context, const std::string& message) {
    context.err << "hinagikuctl: " << message << "\n";
    return kExitIoError;
}

// A file as "ファイルの読みこみ" takes it: RTF as it is, otherwise text (UTF-8
// when it is valid UTF-8, else CP932), stored as RTF.
std::string bodyFromFile(const std::string& bytes) {
    if (richtext::isRtf(bytes))
        return bytes;
    const bool utf8 = richtext::validUtf8(bytes) == bytes;
    return richtext::plainTextToRtf(utf8 ? bytes : platform::fromCp932(bytes));
}

int categories(CommandContext& context, const platform::Settings& settings) {
    for (int i = 0; i < memo::kCategoryCount; ++i) {
        context.out << i << '\t' << printable(memo::categoryName(settings, i)) << '\t'
                    << printable(memo::categoryName(settings, i, false)) << '\n';
    }
    return kExitOk;
}

int list(CommandContext& context, const platform::Settings& settings, std::optional<int> only) {
    for (int i = 0; i < memo::kCategoryCount; ++i) {
        if (only && *only != i)
            continue;
        for (const MemoEntry& entry : memo::listCategory(settings, i)) {
            context.out << i << '\t' << entry.key << '\t' << printable(entry.title) << '\t'
                        << (isOpen(settings, entry.key) ? "open" : "closed") << '\t'
                        << (settings.readInt(entry.key, "Kind", 0) == 1 ? "picture" : "text")
                        << '\n';
        }
    }
    return kExitOk;
}

int memoCommand(CommandContext& context) {
    const auto& args = context.args;
    if (args.empty())
        return usageError(context, kMemoUsage);
    platform::ProfileFile settings(core::settingsFilePath());
    const std::string& verb = args[0];
    if (verb == "categories" && args.size() == 1)
        return categories(context, settings);
    if (verb == "list" && args.size() <= 2) {
        std::optional<int> only;
        if (args.size() == 2 && !(only = category(args[1])))
            return usageError(context, kMemoUsage, "CATEGORY is 0 to 9");
        return list(context, settings, only);
    }

    if (verb == "new") {
        if (args.size() < 2 || !category(args[1]))
            return usageError(context, kMemoUsage);
        std::optional<std::string> title, body;
        for (std::size_t i = 2; i < args.size(); i += 2) {
            if (i + 1 >= args.size())
                return usageError(context, kMemoUsage);
            if (args[i] == "--title")
                title = args[i + 1];
            else if (args[i] == "--body")
                body = args[i + 1];
            else
                return usageError(context, kMemoUsage);
        }
        if (title && !platform::fitsCp932(*title))
            return refuse(context, "the title holds characters Shift_JIS cannot store");
        std::string bytes;
        if (body && !platform::readWholeFile(*body, bytes))
            return refuse(context, "cannot read " + *body);
        const auto folder = memoFolder(context, settings);
        if (!folder)
            return kExitIoError;
        memo::MemoStore store(settings, *folder);
        const std::string key = store.create(*category(args[1]));
        if (title)
            store.setTitle(key, *category(args[1]), *title);
        if (body)
            platform::writeFileAtomically(store.bodyPath(key), bodyFromFile(bytes));
        context.out << key << '\n';
        return kExitOk;
    }

    if ((verb == "text" || verb == "delete") && args.size() == 2) {
        const std::string& key = args[1];
        const auto where = memo::categoryOf(settings, key);
        if (!where)
            return refuse(context, key + " is in no category");
        const auto folder = memoFolder(context, settings);
        if (!folder)
            return kExitIoError;
        memo::MemoStore store(settings, *folder);
        if (verb == "text") {
            std::string bytes;
            platform::readWholeFile(store.bodyPath(key), bytes);
            const std::string text = richtext::entryPlainText(bytes);
            context.out << text;
            if (!text.empty() && text.back() != '\n')
                context.out << '\n';
            return kExitOk;
        }
        if (isOpen(settings, key))
            return refuse(context, key + " is open; close it first");
        for (int i = 0; i < memo::kCategoryCount; ++i) {
            const auto entries = memo::listCategory(settings, i);
            if (std::any_of(entries.begin(), entries.end(),
                            [&](const MemoEntry& e) { return sameKey(e.key, key); }))
                store.remove(key, i);
        }
        return kExitOk;
    }

    if (verb == "picture" && args.size() == 3) {
        const auto where = memo::categoryOf(settings, args[1]);
        if (!where)
            return refuse(context, args[1] + " is in no category");
        if (isOpen(settings, args[1]))
            return refuse(context, args[1] + " is open; close it first");
        const auto folder = memoFolder(context, settings);
        if (!folder)
            return kExitIoError;
        std::string key = args[1];
        for (const MemoEntry& entry : memo::listCategory(settings, *where)) {
            if (sameKey(entry.key, key))
                key = entry.key;
        }
        return memoPicture(context, settings, *folder, key, args[2]);
    }

    if (verb == "reorder" && args.size() >= 4) {
        const auto source = category(args[1]);
        const auto target = category(args[2]);
        if (!source || !target)
            return usageError(context, kMemoUsage, "CATEGORY is 0 to 9");
        const std::vector<std::string> keys(args.begin() + 3, args.end());
        const auto sourceEntries = memo::listCategory(settings, *source);
        std::vector<std::string> rest;
        for (const MemoEntry& entry : sourceEntries)
            rest.push_back(entry.key);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const auto at = std::find_if(rest.begin(), rest.end(),
                                         [&](const std::string& k) { return sameKey(k, keys[i]); });
            if (at == rest.end())
                return refuse(context,
                              keys[i] + " is not in category " + args[1] + " or given twice");
            if (*source != *target && isOpen(settings, keys[i]))
                return refuse(context,
                              keys[i] + " is open; an open memo moves only within its category");
            rest.erase(at);
        }
        const auto folder = memoFolder(context, settings);
        if (!folder)
            return kExitIoError;
        memo::MemoStore store(settings, *folder);
        if (*source == *target) {
            std::vector<std::string> order = keys;
            order.insert(order.end(), rest.begin(), rest.end());
            store.saveOrder(*source, {}, *target, order);
        } else {
            std::vector<std::string> order;
            for (const MemoEntry& entry : memo::listCategory(settings, *target))
                order.push_back(entry.key);
            order.insert(order.end(), keys.begin(), keys.end());
            store.saveOrder(*source, rest, *target, order);
        }
        return kExitOk;
    }
    return usageError(context, kMemoUsage);
}

const CommandRegistration kMemo{"memo", kMemoUsage, &memoCommand};

}  // namespace
}  // namespace hinagiku::ctl
