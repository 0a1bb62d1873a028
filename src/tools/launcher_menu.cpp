#include "tools/launcher_menu.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "platform/cp932.h"
#include "platform/file_search.h"
#include "platform/profile_file.h"

namespace hinagiku::tools {
namespace {

constexpr int kMaxDepth = 2;  // submenus below "Main"

// A stored value as a read gives it: blanks trimmed, one pair of matching
// quotes removed, cut to what a read returns.
std::string readableValue(std::string_view stored) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
    };
    while (!stored.empty() && blank(stored.front()))
        stored.remove_prefix(1);
    while (!stored.empty() && blank(stored.back()))
        stored.remove_suffix(1);
    if (stored.size() >= 2 && (stored.front() == '"' || stored.front() == '\'') &&
        stored.back() == stored.front())
        stored = stored.substr(1, stored.size() - 2);
    const std::string bytes = platform::toCp932(stored);
    if (bytes.size() <= platform::ProfileFile::kMaxValueBytes)
        return std::string(stored);
    return platform::fromCp932(std::string_view(bytes).substr(
        0, platform::cp932PrefixLength(bytes, platform::ProfileFile::kMaxValueBytes)));
}

// Reads every section once and answers the builder's many keys from that
// listing: a file of a megabyte is not searched again for every item.
class CachedSource : public LauncherSource {
  public:
    std::string readText(std::string_view section, std::string_view key) const override {
        const auto& values = section_(section);
        const auto it = values.find(platform::foldAsciiCase(key));
        return it == values.end() ? std::string() : it->second;
    }
    std::vector<platform::SettingsEntry> entries(std::string_view section) const override {
        return listed(section);
    }

  protected:
    virtual std::vector<platform::SettingsEntry> list(std::string_view section) const = 0;

  private:
    const std::map<std::string, std::string>& section_(std::string_view section) const {
        const std::string name = platform::foldAsciiCase(section);
        auto it = cache_.find(name);
        if (it != cache_.end())
            return it->second;
        std::map<std::string, std::string> values;
        for (const platform::SettingsEntry& entry : listed(section))
            values.emplace(platform::foldAsciiCase(entry.key), readableValue(entry.value));
        return cache_.emplace(name, std::move(values)).first->second;
    }
    const std::vector<platform::SettingsEntry>& listed(std::string_view section) const {
        const std::string name = platform::foldAsciiCase(section);
        auto it = lists_.find(name);
        if (it == lists_.end())
            it = lists_.emplace(name, list(section)).first;
        return it->second;
    }
    mutable std::map<std::string, std::map<std::string, std::string>> cache_;
    mutable std::map<std::string, std::vector<platform::SettingsEntry>> lists_;
};

class SettingsSource final : public CachedSource {
  public:
    explicit SettingsSource(const platform::Settings& settings) : settings_(settings) {}

  protected:
    std::vector<platform::SettingsEntry> list(std::string_view section) const override {
        return settings_.listEntries(section);
    }

  private:
    const platform::Settings& settings_;
};

class EditSource final : public CachedSource {
  public:
    explicit EditSource(const platform::SettingsEdit& edit) : edit_(edit) {}

  protected:
    std::vector<platform::SettingsEntry> list(std::string_view section) const override {
        return edit_.entries(section);
    }

  private:
    const platform::SettingsEdit& edit_;
};

// 1 + the highest item number among the keys of the level's sections.
int keyLimit(const LauncherSource& source, const std::string& level) {
    int limit = 0;
    for (const char* prefix : {"ExecTitle_", "ExecCommand_", "ExecSub_"}) {
        for (const platform::SettingsEntry& entry : source.entries(prefix + level)) {
            int number = 0;
            const char* first = entry.key.data();
            const char* last = first + entry.key.size();
            const auto [end, error] = std::from_chars(first, last, number);
            if (error == std::errc() && end == last && number >= 0 && number < (1 << 30))
                limit = std::max(limit, number + 1);
        }
    }
    return limit;
}

class Builder {
  public:
    explicit Builder(const LauncherSource& source) : source_(source) {}

    std::vector<LauncherItem> level(const std::string& name, int depth) {
        const int count = launcherLevelCount(source_, name);
        std::vector<LauncherItem> items(static_cast<std::size_t>(std::max(count, 0)));
        // Numbers are given from the bottom up, as the menu was filled.
        for (int k = count - 1; k >= 0; --k) {
            const std::string key = std::to_string(k);
            LauncherItem& item = items[static_cast<std::size_t>(k)];
            item.level = name;
            item.title = source_.readText("ExecTitle_" + name, key);
            item.number = counter_++;
            if (item.title == "-") {
                item.kind = LauncherItem::Kind::Separator;
            } else if (depth < kMaxDepth && source_.readText("ExecSub_" + name, key) == "1") {
                item.kind = LauncherItem::Kind::Submenu;
                item.children = level(sublevelName(name, item.title), depth + 1);
            } else {
                item.kind = LauncherItem::Kind::Item;
                item.command = source_.readText("ExecCommand_" + name, key);
                commands_.emplace_back(item.number, item.command);
            }
        }
        return items;
    }

    std::vector<std::pair<int, std::string>> takeCommands() {
        std::sort(commands_.begin(), commands_.end());
        return std::move(commands_);
    }

  private:
    const LauncherSource& source_;
    int counter_ = 0;
    std::vector<std::pair<int, std::string>> commands_;
};

}  // namespace

int launcherLevelCount(const LauncherSource& source, const std::string& level) {
    const int count = platform::parseProfileInt(source.readText("ExecTitle_" + level, "Count"), 0);
    return std::max(0, std::min(count, keyLimit(source, level)));
}

std::string sublevelName(std::string_view level, std::string_view title) {
    return std::string(level) + "-" + std::string(title);
}

LauncherMenu buildLauncherMenu(const LauncherSource& source) {
    Builder builder(source);
    LauncherMenu menu;
    menu.items = builder.level("Main", 0);
    menu.commands = builder.takeCommands();
    return menu;
}

LauncherMenu readLauncherMenu(const platform::Settings& settings) {
    return buildLauncherMenu(SettingsSource(settings));
}

LauncherMenu BuildLauncherMenu(platform::Settings& settings) {
    LauncherMenu menu;
    settings.edit([&](platform::SettingsEdit& edit) {
        menu = buildLauncherMenu(EditSource(edit));
        std::vector<platform::SettingsEntry> index;
        index.reserve(menu.commands.size());
        for (const auto& [number, command] : menu.commands)
            index.push_back({std::to_string(number), command});
        edit.replaceSection("ExecCommand", index);
    });
    return menu;
}

std::string launcherCommand(const platform::Settings& settings, int number) {
    return settings.readText("ExecCommand", std::to_string(number), "");
}

}  // namespace hinagiku::tools
