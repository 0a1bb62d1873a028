#pragma once

#include <string>
#include <vector>

namespace hinagiku::platform {

// How a short helper command ended.
struct CommandOutcome {
    bool started = false;  // false: missing, not executable, or killed after the time limit
    int exitCode = -1;
    std::string output;  // what it wrote on stdout
    bool succeeded() const { return started && exitCode == 0; }
};

// Runs short helper programs of the desktop (settings tools) and waits for
// them; never through a shell. Tests give a double that records.
class CommandRunner {
  public:
    virtual ~CommandRunner() = default;
    // Whether `program` is found on PATH.
    virtual bool isAvailable(const std::string& program) const = 0;
    virtual CommandOutcome run(const std::string& program,
                               const std::vector<std::string>& arguments) = 0;
};

// The system's runner: QProcess with a time limit, after which the command
// is killed (a hung settings tool must not hang the program for long).
class ProcessCommandRunner final : public CommandRunner {
  public:
    explicit ProcessCommandRunner(int timeLimitMilliseconds = 5000)
        : timeLimit_(timeLimitMilliseconds) {}
    bool isAvailable(const std::string& program) const override;
    CommandOutcome run(const std::string& program,
                       const std::vector<std::string>& arguments) override;

  private:
    int timeLimit_;
};

}  // namespace hinagiku::platform
