#include "tools/file_associations.h"

#include <set>

#include "core/command_text.h"
#include "platform/cp932.h"
#include "platform/file_search.h"

namespace hinagiku::tools {
namespace {

constexpr const char* kTable = "Ext_Exec";
constexpr const char* kForm = "Ext_Form";

}  // namespace

std::vector<Association> readAssociations(const platform::Settings& settings) {
    std::vector<Association> rows;
    std::set<std::string> seen;
    // A key written twice (by hand) is one row: the first, which reads see.
    for (const platform::SettingsEntry& entry : settings.listEntries(kTable)) {
        if (seen.insert(platform::foldAsciiCase(entry.key)).second)
            rows.push_back({entry.key, settings.readText(kTable, entry.key, "")});
    }
    return rows;
}

std::string defaultAssociation(const platform::Settings& settings) {
    return settings.readText(kForm, "Exec", "");
}

void saveAssociations(platform::Settings& settings, const std::vector<Association>& rows,
                      std::string_view defaultCommand) {
    settings.edit([&](platform::SettingsEdit& edit) {
        edit.writeText(kForm, "Count", std::to_string(rows.size()));
        edit.writeText(kForm, "Exec", defaultCommand);
        std::vector<platform::SettingsEntry> entries;
        entries.reserve(rows.size());
        for (const Association& row : rows)
            entries.push_back({row.extension, row.command});
        edit.replaceSection(kTable, entries);
    });
}

std::optional<std::string> extensionProblem(std::string_view extension) {
    if (extension.size() < 2 || extension.front() != '.')
        return "拡張子は「.」から書き始めてください。";
    if (extension.find('=') != std::string_view::npos)
        return "拡張子に「=」は使えません。";
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    if (blank(extension.back()) || blank(extension[1]))
        return "拡張子の前後に空白は使えません。";
    if (extension.find_first_of("[]\r\n;") != std::string_view::npos)
        return "拡張子に使えない文字があります。";
    if (!platform::fitsCp932(extension))
        return "拡張子「" + std::string(extension) +
               "」には設定ファイルに保存できない文字があります。";
    return std::nullopt;
}

std::optional<std::string> commandProblem(std::string_view command) {
    if (command.find_first_of("\r\n") != std::string_view::npos)
        return "改行は使えません。";
    if (!platform::fitsCp932(command))
        return "「" + std::string(command) + "」には設定ファイルに保存できない文字があります。";
    return std::nullopt;
}

std::optional<LaunchRequest> dropRequest(const platform::Settings& settings,
                                         const std::string& path) {
    const std::string fallback = defaultAssociation(settings);
    const std::string_view extension = fileExtension(path);
    const std::string command =
        extension.empty() ? fallback : settings.readText(kTable, extension, fallback);
    if (core::splitCommandText(command).program.empty())
        return std::nullopt;
    LaunchRequest request = commandTextRequest(command);
    request.extraArguments.push_back(path);
    return request;
}

}  // namespace hinagiku::tools
