#pragma once

#include <string>
#include <string_view>

#include "platform/program_launcher.h"

namespace hinagiku::core {

// A command text taken apart: "program?parameters".
struct CommandText {
    std::string program;
    std::string parameters;     // at most kMaxCommandParameterBytes CP932 bytes
    std::string workingFolder;  // the program up to its last "/", "\" or ":"; may be empty
    friend bool operator==(const CommandText&, const CommandText&) = default;
};

inline constexpr std::size_t kMaxCommandParameterBytes = 1024;

// The text before the first "?" is the program, the rest its parameters;
// without "?" the whole text is the program, and with nothing before the "?"
// the parameters become the program. A text that starts with a URL is that
// URL whole: its "?" opens the query. A relative program is looked up in
// `baseFolder` first when that is given (the command box's shortcut folder:
// "." opens it); the working folder follows the path so found.
CommandText splitCommandText(std::string_view text, std::string_view baseFolder = {});

// Splits `text` and starts it through `launcher` (never a shell). The result
// says whether it started and, if not, why.
platform::LaunchResult RunCommandText(
    std::string_view text, platform::ProgramLauncher& launcher = platform::programLauncher(),
    std::string_view baseFolder = {});

}  // namespace hinagiku::core
