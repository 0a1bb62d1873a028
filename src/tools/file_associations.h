#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings.h"
#include "tools/launch_request.h"

namespace hinagiku::tools {

// One row of [Ext_Exec]: an extension with its period and its command text.
struct Association {
    std::string extension;
    std::string command;
    friend bool operator==(const Association&, const Association&) = default;
};

// Every key of [Ext_Exec] in file order, however long the section is.
std::vector<Association> readAssociations(const platform::Settings& settings);
// [Ext_Form] Exec.
std::string defaultAssociation(const platform::Settings& settings);
// "閉じる": [Ext_Form] Count and Exec, and [Ext_Exec] rewritten in list
// order, as one replacement of the settings.
void saveAssociations(platform::Settings& settings, const std::vector<Association>& rows,
                      std::string_view defaultCommand);

// Why an extension cannot be stored, or nothing when it can: it must start
// with "." and something after it, hold no "=", no blank at either end, and
// only characters the settings file's code page has.
std::optional<std::string> extensionProblem(std::string_view extension);
// Why a command text cannot be stored (a character the code page lacks).
std::optional<std::string> commandProblem(std::string_view command);

// The drop launch of one file: the command of its extension (as the name
// spells it; the key compares without regard to case) or the default, split
// as a command text, with the file as one argument after the parameters.
// Nothing when there is no command (the file is skipped).
std::optional<LaunchRequest> dropRequest(const platform::Settings& settings,
                                         const std::string& path);

inline constexpr std::string_view kDropFailure =
    "現在ドロップ出来ません。\r一旦閉じてからまた開いて再度行って下さい。";

}  // namespace hinagiku::tools
