#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/program_launcher.h"
#include "tools/shortcut_folder.h"

namespace hinagiku::tools {

// What is to be started: a program (path, bare name or URL) with its
// parameters, or why nothing can be.
struct LaunchRequest {
    std::string program;
    std::string parameters;
    std::string workingFolder;
    std::string error;  // set: nothing can be started
    // Added after the split parameters as one argument each, never re-parsed
    // (the dropped file of a drop launch).
    std::vector<std::string> extraArguments;
};

// A command text ("program?parameters"); a relative program is looked up in
// `baseFolder` first. A program that names an Internet shortcut (.url) or a
// shell link (.lnk) is followed to what it points at.
LaunchRequest commandTextRequest(std::string_view text, std::string_view baseFolder = {});
// A file to run as it is (a shortcut-folder file): followed like above.
LaunchRequest fileRequest(const std::string& path);
// Enter in the command box: the shortcut file listed as `text` (first by
// name), else `text` as a command text relative to the shortcut folder.
LaunchRequest commandBoxRequest(const ShortcutFolder& folder, std::string_view text);

// Starts the request through `launcher`.
platform::LaunchResult startRequest(
    const LaunchRequest& request,
    platform::ProgramLauncher& launcher = platform::programLauncher());
// What starting it would do, decided without starting anything.
platform::LaunchPlan planRequest(const LaunchRequest& request, const platform::LaunchProbe& probe =
                                                                   platform::LaunchProbe::system());

// One line for scripts: "run|open|desktop<TAB>program<TAB>working folder
// [<TAB>argument]...", TAB, LF, CR and backslash escaped in each field.
std::string planLine(const platform::LaunchPlan& plan);
std::string escapeField(std::string_view text);

}  // namespace hinagiku::tools
