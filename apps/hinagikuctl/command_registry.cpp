#include "command_registry.h"

namespace hinagiku::ctl {
namespace {

std::vector<Command>& commands() {
    static std::vector<Command> list;
    return list;
}

}  // namespace

CommandRegistration::CommandRegistration(std::string_view name, std::string_view usage,
                                         CommandFunction function) {
    commands().push_back({std::string(name), std::string(usage), function});
}

const std::vector<Command>& registeredCommands() {
    return commands();
}

int usageError(CommandContext& context, std::string_view usage, std::string_view problem) {
    if (!problem.empty())
        context.err << "hinagikuctl: " << problem << '\n';
    context.err << "usage: hinagikuctl " << usage << '\n';
    return kExitUsage;
}

}  // namespace hinagiku::ctl
