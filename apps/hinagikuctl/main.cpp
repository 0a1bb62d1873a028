// hinagikuctl: the command-line companion for scripts and status bars. It
// reads and writes the same home folder and settings file as the program.
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "command_registry.h"

namespace {

void printUsage(std::ostream& err) {
    err << "usage: hinagikuctl [--home DIR] COMMAND [ARGS...]\n";
    for (const auto& command : hinagiku::ctl::registeredCommands()) {
        err << "  hinagikuctl " << command.usage << '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace hinagiku::ctl;
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--home") {
            if (i + 1 >= argc) {
                std::cerr << "hinagikuctl: --home needs a folder\n";
                printUsage(std::cerr);
                return kExitUsage;
            }
            setenv("HINAGIKU_HOME", argv[++i], 1);
        } else if (word.rfind("--home=", 0) == 0) {
            setenv("HINAGIKU_HOME", word.c_str() + 7, 1);
        } else {
            words.push_back(word);
        }
    }
    if (words.empty()) {
        printUsage(std::cerr);
        return kExitUsage;
    }
    for (const auto& command : registeredCommands()) {
        if (command.name != words.front())
            continue;
        CommandContext context{{words.begin() + 1, words.end()}, std::cout, std::cerr};
        try {
            const int status = command.function(context);
            std::cout.flush();
            return status;
        } catch (const std::exception& e) {
            std::cerr << "hinagikuctl: " << e.what() << '\n';
            return kExitIoError;
        }
    }
    std::cerr << "hinagikuctl: unknown command '" << words.front() << "'\n";
    printUsage(std::cerr);
    return kExitUsage;
}
