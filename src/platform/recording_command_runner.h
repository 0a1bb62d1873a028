#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/command_runner.h"

namespace hinagiku::platform {

// A CommandRunner that runs nothing: it knows a set of available programs,
// answers each program with a scripted outcome (success with no output by
// default) and remembers every command.
class RecordingCommandRunner final : public CommandRunner {
  public:
    struct Call {
        std::string program;
        std::vector<std::string> arguments;
    };

    explicit RecordingCommandRunner(std::set<std::string> available = {})
        : available_(std::move(available)) {}

    bool isAvailable(const std::string& program) const override {
        return available_.count(program) != 0;
    }
    CommandOutcome run(const std::string& program,
                       const std::vector<std::string>& arguments) override {
        calls_.push_back({program, arguments});
        if (!isAvailable(program))
            return {};
        const auto it = outcomes_.find(program);
        return it != outcomes_.end() ? it->second : CommandOutcome{true, 0, {}};
    }

    void setOutcome(const std::string& program, CommandOutcome outcome) {
        outcomes_[program] = std::move(outcome);
    }
    const std::vector<Call>& calls() const { return calls_; }

  private:
    std::set<std::string> available_;
    std::map<std::string, CommandOutcome> outcomes_;
    std::vector<Call> calls_;
};

}  // namespace hinagiku::platform
