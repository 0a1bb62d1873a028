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
    settings.edit([&](platform::SettingsEdit& edit) {
        for (const char* prefix : {"ExecTitle_", "ExecCommand_", "ExecSub_"})
            edit.eraseSection(prefix + name);
        edit.writeText("ExecTitle_" + name, "Count", std::to_string(items.size()));
        for (std::size_t k = 0; k < items.size(); ++k) {
            const std::string key = std::to_string(k);
            edit.writeText("ExecTitle_" + name, key, items[k].title);
            edit.writeText("ExecCommand_" + name, key, items[k].submenu ? "" : items[k].command);
            edit.writeText("ExecSub_" + name, key, items[k].submenu ? "1" : "0");
        }
        if (name != "Main")
            return;
        edit.eraseSection("ExecTitle");
        edit.writeText("ExecTitle", "Count", std::to_string(items.size()));
        for (std::size_t k = 0; k < items.size(); ++k) {
            edit.writeText("ExecTitle", std::to_string(k), items[k].title);
            edit.writeText("ExecCommand", std::to_string(k),
                           items[k].submenu ? "" : items[k].command);
        }
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
