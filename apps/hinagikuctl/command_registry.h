#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace hinagiku::ctl {

// Exit statuses every command keeps to: scripts rely on them.
inline constexpr int kExitOk = 0;
inline constexpr int kExitIoError = 1;
inline constexpr int kExitUsage = 2;
// Refused by the rules of the data or the setting: nothing was written.
inline constexpr int kExitRefused = 3;

struct CommandContext {
    std::vector<std::string> args;  // the words after the command name
    std::ostream& out;
    std::ostream& err;
};

using CommandFunction = int (*)(CommandContext&);

// Each commands_*.cpp file registers its commands with a static
// CommandRegistration; main() dispatches by the first word.
struct CommandRegistration {
    CommandRegistration(std::string_view name, std::string_view usage, CommandFunction function);
};

struct Command {
    std::string name;
    std::string usage;
    CommandFunction function;
};

const std::vector<Command>& registeredCommands();

// Prints "usage: hinagikuctl <usage>" to the error stream and returns kExitUsage.
int usageError(CommandContext& context, std::string_view usage, std::string_view problem = {});

}  // namespace hinagiku::ctl
