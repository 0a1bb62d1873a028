#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/settings.h"

namespace hinagiku::core {

// The message shown when a feature folder cannot be had.
inline constexpr std::string_view kMissingFolderMessage =
    "保存先ディレクトリが無いので\r処理を中断します。";

// [Calendar] Directory: the data folder, "." when unset.
std::string DataFolder(const platform::Settings& settings);
// [Privacy] Directory, or DataFolder() when that is empty.
std::string PrivateFolder(const platform::Settings& settings);

// What the windows do for the folder rules; the desktop program installs
// its dialogs here, tests install recorders.
struct FolderHooks {
    std::function<void()> openSettingsDialog;                 // or bring it to the front
    std::function<void(std::string_view message)> showError;  // exclamation beep and OK box
};
void setFolderHooks(FolderHooks hooks);

// Used at the start of every action that opens a data-bearing window: true
// when a data folder is set; otherwise the settings dialog opens and the
// action must not run.
bool RequireDataFolder(const platform::Settings& settings);

// The feature folder base/name, created when missing. Returns false (after
// the missing-folder message) when it still does not exist; the action then
// stops. A folder the system refuses to create throws IoError.
bool EnsureSubfolder(std::string_view base, std::string_view name);

// Joins a folder value and a file or folder name.
std::string joinPath(std::string_view folder, std::string_view name);

}  // namespace hinagiku::core
