#include "tools/shortcut_folder.h"

#include <QUtf8StringView>

#include <algorithm>

#include "core/home_folder.h"
#include "platform/cp932.h"
#include "platform/file_search.h"

namespace hinagiku::tools {

std::string displayName(std::string_view bytes) {
    if (QUtf8StringView(bytes.data(), static_cast<qsizetype>(bytes.size())).isValidUtf8())
        return std::string(bytes);
    return platform::fromCp932(bytes);
}

std::string_view fileExtension(std::string_view name) {
    const auto slash = name.find_last_of('/');
    if (slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    const auto dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0)
        return {};
    return name.substr(dot);
}

ShortcutFolder::ShortcutFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path ShortcutFolder::defaultPath() {
    return core::homeFolder() / "Shortcut";
}

bool ShortcutFolder::refresh(std::string* error) {
    names_.clear();
    folded_.clear();
    std::error_code ec;
    if (!std::filesystem::is_directory(folder_, ec))
        std::filesystem::create_directories(folder_, ec);
    std::filesystem::directory_iterator it(folder_, ec);
    if (ec) {
        if (error != nullptr)
            *error =
                "ショートカットフォルダ「" + folder_.string() + "」を読めません: " + ec.message();
        return false;
    }
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        std::error_code statError;
        // The listing's own file type answers without a call to the system;
        // only links are followed (a dangling link or a folder is left out).
        if (!it->is_regular_file(statError))
            continue;
        const std::string file = it->path().filename().string();
        const std::string_view extension = fileExtension(file);
        const std::string stem = file.substr(0, file.size() - extension.size());
        names_.push_back({displayName(stem), file});
    }
    std::sort(names_.begin(), names_.end(), [](const ShortcutName& a, const ShortcutName& b) {
        return a.display != b.display ? a.display < b.display : a.file < b.file;
    });
    folded_.reserve(names_.size());
    for (const ShortcutName& name : names_)
        folded_.push_back(platform::foldAsciiCase(name.display));
    return true;
}

std::vector<std::string> ShortcutFolder::completions(std::string_view typed) const {
    const std::string key = platform::foldAsciiCase(typed);
    std::vector<std::string> result;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (folded_[i].starts_with(key))
            result.push_back(names_[i].display);
    }
    return result;
}

bool ShortcutFolder::firstCompletionEquals(std::string_view typed) const {
    const std::string key = platform::foldAsciiCase(typed);
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (folded_[i].starts_with(key))
            return folded_[i] == key;
    }
    return false;
}

std::filesystem::path ShortcutFolder::find(std::string_view typed) const {
    if (typed.empty())
        return {};
    const std::string key = platform::foldAsciiCase(typed);
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (folded_[i] == key)
            return folder_ / names_[i].file;
    }
    return {};
}

}  // namespace hinagiku::tools
