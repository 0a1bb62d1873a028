#pragma once

#include <string>
#include <vector>

namespace hinagiku::testing {

// What a program printed and how it ended.
struct ProcessOutcome {
    int status = -1;  // exit status, or 128 + signal
    std::string out;
    std::string err;
};

// Runs argv[0] (a path) with its arguments to its end, collecting both streams.
ProcessOutcome runProcess(const std::vector<std::string>& argv);

// A program built by this build tree: $HINAGIKU_BUILD_DIR/apps/NAME/NAME.
std::string builtProgram(const std::string& name);

}  // namespace hinagiku::testing
