#pragma once

#include <string>
#include <vector>

#include "platform/program_launcher.h"

namespace hinagiku::platform {

// A ProgramLauncher that starts nothing and remembers every request, for
// tests of the code that decides what to start.
class RecordingProgramLauncher final : public ProgramLauncher {
  public:
    struct Call {
        std::string program;
        std::string parameters;
        std::string workingFolder;
    };

    LaunchResult start(const std::string& program, const std::string& parameters = {},
                       const std::string& workingFolder = {}) override {
        calls_.push_back({program, parameters, workingFolder});
        return result_;
    }

    // What every later request answers (started by default).
    void setResult(LaunchResult result) { result_ = std::move(result); }
    const std::vector<Call>& calls() const { return calls_; }
    void clear() { calls_.clear(); }

  private:
    std::vector<Call> calls_;
    LaunchResult result_{true, {}};
};

}  // namespace hinagiku::platform
