#include "tools/launcher_levels.h"

#include "platform/cp932.h"
#include "tools/launcher_menu.h"

namespace hinagiku::tools {
namespace {

class StoreSource final : public LauncherSource {
  public:
    explicit StoreSource(const platform::Settings& settings) : settings_(settings) {}
    std::string readText(std::string_view section, std::string_view key) const override {
        return settings_.readText(section, key, "");
    }
    std::vector<platform::SettingsEntry> entries(std::string_view section) const override {
        return settings_.listEntries(section);
    }

  private:
    const platform::Settings& settings_;
};

}  // namespace

std::vector<LevelItem> readLauncherLevel(const platform::Settings& settings,
                                         std::string_view level) {
    const StoreSource source(settings);
    const std::string name(level);
    const int count = launcherLevelCount(source, name);
    std::vector<LevelItem> items;
    for (int k = 0; k < count; ++k) {
        const std::string key = std::to_string(k);
        LevelItem item;
        item.title = settings.readText("ExecTitle_" + name, key, "");
        item.command = settings.readText("ExecCommand_" + name, key, "");
        item.submenu = settings.readText("ExecSub_" + name, key, "") == "1";
        items.push_back(std::move(item));
    }
    return items;
}

bool levelHasItems(const platform::Settings& settings, std::string_view level) {
    return settings.readInt("ExecTitle_" + std::string(level), "Count", 0) > 0;
}

void saveLauncherLevel(platform::Settings& settings, std::string_view level,
                       const std::vector<LevelItem>& items) {
    const std::string name(level);
    std::vector<platform::SettingsEntry> titles{{"Count", std::to_string(items.size())}};
    std::vector<platform::SettingsEntry> commands;
    std::vector<platform::SettingsEntry> flags;
    for (std::size_t k = 0; k < items.size(); ++k) {
        const std::string key = std::to_string(k);
        titles.push_back({key, items[k].title});
        commands.push_back({key, items[k].submenu ? "" : items[k].command});
        flags.push_back({key, items[k].submenu ? "1" : "0"});
    }
    settings.edit([&](platform::SettingsEdit& edit) {
        edit.replaceSection("ExecTitle_" + name, titles);
        edit.replaceSection("ExecCommand_" + name, commands);
        edit.replaceSection("ExecSub_" + name, flags);
        if (name != "Main")
            return;
        // The flat copy of the top level; the next build rewrites [ExecCommand].
        edit.replaceSection("ExecTitle", titles);
        edit.replaceSection("ExecCommand", commands);
    });
}

std::string commandForPath(std::string_view path) {
    if (path.find('?') != std::string_view::npos)
        return "?" + std::string(path);
    return std::string(path);
}

std::optional<std::string> launcherTextProblem(std::string_view text) {
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return "改行は使えません。";
    if (!platform::fitsCp932(text)) {
        return "「" + std::string(text) + "」には設定ファイルに保存できない文字があります。";
    }
    return std::nullopt;
}

}  // namespace hinagiku::tools
